/* Identifiers of the language modules (english.dll, deutsch.dll): the resources the program
   asks of them, the menu commands, and the controls of their dialog templates.
   Included by the resource scripts and by the C++ code, so: plain #defines only. */
#ifndef TELVANE_LANG_IDS_H
#define TELVANE_LANG_IDS_H

/* Resources of the module. */
#define IDM_MAIN_MENU 5 /* its first sub-menu is the main popup */
#define IDA_MAIN_ACCELERATORS 6 /* shortcuts of the main window */
#define IDR_KEY_NAMES 7 /* 256 x 17 bytes, NUL-terminated names by virtual-key code */
#define RT_KEY_NAMES 10 /* resource type of the key-name table (RT_RCDATA) */
#define KEY_NAME_SIZE 17
#define KEY_NAME_COUNT 256

/* Positions in the main popup that the program fills at run time. */
#define MAIN_MENU_POS_LOG_MONTHS 0
#define MAIN_MENU_POS_SKINS 3

/* Dialog templates. */
#define IDD_ABOUT 200
#define IDD_OPTIONS_TARIFFS 202
#define IDD_OPTIONS_HOLIDAYS 203
#define IDD_OPTIONS_GENERAL 204
#define IDD_OPTIONS_ALERTS 205
#define IDD_OPTIONS_ADAPTERS 206
#define IDD_CONFIRM 210
#define IDD_COMPARE_TARIFFS 220

/* Menu commands. Each command id is also the language string shown as its status-line hint;
   a range shares the hint of its first id. */
#define IDM_LOG_MONTH_FIRST 30000 /* up to 40 months, item data year * 65536 + month */
#define IDM_LOG_MONTH_LAST 30039
#define IDM_EXIT 30049
#define IDM_OPTIONS 30050
#define IDM_LANGUAGE_GERMAN 30051
#define IDM_LANGUAGE_ENGLISH 30052
#define IDM_SAVE_SETTINGS 30053
#define IDM_EXPORT_MONTH 30054 /* the shown month as CSV, through a save dialog */
#define IDM_SHOW_WINDOW 30058 /* tray menu: shows the main window */
#define IDM_YEAR_VIEW 30070 /* the year at a glance, or back to the month */
#define IDM_COMPARE_TARIFFS 30071 /* which tariff would have been cheapest */
#define IDM_ABOUT 30272
#define IDM_PHONEBOOK_FIRST 30280 /* tray menu: one per phone-book entry */
#define IDM_PHONEBOOK_LAST 30295
#define IDM_TARIFF_FIRST 30300 /* tariff menu: 30300 + table index */
#define IDM_TARIFF_LAST 30555
#define IDM_SKIN_FIRST 30556 /* one per skin folder */
#define IDM_SKIN_LAST 30587
#define IDM_HELP 30065 /* opens the help page of the language in use */

/* Strings. */
#define IDS_SEVERITY_SUCCESS 12 /* caption suffixes by the severity of an error code */
#define IDS_SEVERITY_INFORMATION 13
#define IDS_SEVERITY_WARNING 14
#define IDS_SEVERITY_ERROR 15
#define IDS_SYSTEM_ERROR_INTRO 16 /* between a message and the system's own error text */
#define IDS_MESSAGE_CAPTION 18 /* caption prefix of every error box */
#define IDS_MAIN_TITLE 20 /* main window title; start of the about dialog's title line */
#define IDS_OPTIONS_HELP_FALLBACK 30
#define IDS_SETTINGS_SAVED 33
#define IDS_OPTIONS_CAPTION 40
#define IDS_PAGE_TARIFFS 41
#define IDS_PAGE_HOLIDAYS 42
#define IDS_PAGE_GENERAL 43
#define IDS_TARIFF_NAME_REFUSED 44 /* a new tariff's name holds '<', which rates.zip cannot keep */
#define IDS_PAGE_ALERTS 45
#define IDS_PAGE_ADAPTERS 46
#define IDS_MISSING_IMAGE 102 /* %3 of error 0x40000002: what was not found */
#define IDS_MISSING_KEY_NAMES 103
#define IDS_MISSING_FILE_NAME 104
#define IDS_TRAY_EXIT 110
#define IDS_STATISTICS_HEADING 200 /* followed by the month */
#define IDS_CONFIRM_EXIT 300

/* First start and empty states. */
#define IDS_NO_TARIFF 400 /* the Summary without a tariff: how to add one */
#define IDS_NO_LOGS 401 /* the month sub-menu while there is no month log */
#define IDS_HOLIDAY_COLUMN_DATE 402
#define IDS_HOLIDAY_COLUMN_NAME 403
#define IDS_HOLIDAY_EVERY_YEAR 404 /* date of a holiday of every year; %1 its day and month */

/* Tray menu; %1 is a phone-book entry. */
#define IDS_TRAY_DIAL 405
#define IDS_TRAY_HANG_UP 406
#define IDS_TRAY_SHOW 407
#define IDS_TRAY_OPTIONS 408

/* Hover tips of the main window. %1.. are figures, each with its unit. */
#define IDS_TIP_MAIN_PERIOD 410 /* names of the Summary's rows */
#define IDS_TIP_SECONDARY_PERIOD 411
#define IDS_TIP_WHOLE_MONTH 412
#define IDS_TIP_FREE_LEFT 413 /* %1 period, %2 used, %3 free units, %4 left */
#define IDS_TIP_FREE_OVER 414 /* %1 period, %2 used, %3 free units, %4 over */
#define IDS_TIP_NO_FREE_UNITS 415 /* %1 period, %2 used */
#define IDS_TIP_OVER_MARK 416 /* %1 over the free units */
#define IDS_TIP_PER_DAY 417 /* %1 a day, %2 days left */
#define IDS_TIP_NOTHING_LEFT 418
#define IDS_TIP_LEFT_AT_MONTH_END 419 /* %1 left */
#define IDS_TIP_MONTH_COST 420 /* %1 cost, %2 tariff */
#define IDS_TIP_TOTAL_COST 421 /* %1 total, %2 monthly fee */
#define IDS_TIP_DAY_VOLUME 422 /* %1 date, %2 volume */
#define IDS_TIP_DAY_TIME 423 /* %1 date, %2 online time */
#define IDS_TIP_DAY_COST 424 /* %1 cost of the day */
#define IDS_TIP_SCALE 425 /* %1 the busiest day */
#define IDS_TIP_AVERAGE 426 /* %1 average, %2 days with connections */
#define IDS_TIP_MONTH_VOLUME 427 /* %1 */
#define IDS_TIP_MONTH_TIME 428 /* %1 */
#define IDS_TIP_RUNNING_SHARE 429 /* %1 */
#define IDS_TIP_RECORD 430 /* %1 row, %2 date, %3 start, %4 duration */
#define IDS_TIP_RECORD_TRAFFIC 431 /* %1 received, %2 sent */
#define IDS_TIP_RECORD_COST 432 /* %1 cost, %2 tariff */
#define IDS_TIP_RECORD_TOTALS 433 /* %1 online time, %2 volume */
#define IDS_TIP_LIVE 434 /* %1 connection, %2 received, %3 sent a second */
#define IDS_TIP_LIVE_AVERAGE 435 /* %1 received, %2 sent a second */
#define IDS_TIP_LIVE_SCALE 436 /* %1 the fastest second */
#define IDS_TIP_MENU_BUTTON 437
#define IDS_TIP_TARIFF_BUTTON 438 /* %1 the active tariff */
#define IDS_TIP_MINIMIZE_BUTTON 439
#define IDS_TIP_CLOSE_BUTTON 440

/* Usage alerts: balloon titles and texts (the "%s" are filled in order), and the tray tip's
   free units. */
#define IDS_ALERT_USAGE_TITLE 450
#define IDS_ALERT_USAGE 451 /* %s the percentage set, %s the free units left */
#define IDS_ALERT_USED_UP 452 /* %s the percentage set */
#define IDS_ALERT_MONEY_TITLE 453
#define IDS_ALERT_MONEY 454 /* %s the month's costs, %s the limit */
#define IDS_ALERT_HUNG_UP 455 /* follows IDS_ALERT_MONEY when the connections were hung up */
#define IDS_TRAY_FREE_LEFT 456 /* %s the free units left */
#define IDS_TRAY_FREE_EXCEEDED 457 /* %s the usage beyond the free units */

/* Month export: the save dialog, and the CSV header row (UTF-8 in the file). */
#define IDS_EXPORT_TITLE 460
#define IDS_EXPORT_FILTER 461 /* pairs of name and pattern, each ended by '|' */
#define IDS_EXPORT_FILE_NAME 462 /* %s the month as YYYY-MM */
#define IDS_EXPORT_DONE 463 /* %s the file */
#define IDS_CSV_FIRST_HEADING                                                                                          \
    470 /* 470..476: date, start, duration, received bytes and packets, sent bytes and packets */
#define IDS_CSV_COST 477
#define IDS_CSV_COST_TARIFF 478 /* %s the active tariff's name */

/* Watched network adapters: the columns of their page, an adapter's state, and its item in the
   tray menu (%1 its name). */
#define IDS_ADAPTER_COLUMN_NAME 480
#define IDS_ADAPTER_COLUMN_DESCRIPTION 481
#define IDS_ADAPTER_COLUMN_ADDRESSES 482
#define IDS_ADAPTER_COLUMN_STATE 483
#define IDS_ADAPTER_UP 484
#define IDS_ADAPTER_DOWN 485
#define IDS_ADAPTER_ABSENT 486 /* ticked, but not in the machine now */
#define IDS_TRAY_ADAPTER 487

/* The command line: what telvane.exe /? shows (lines ended by \n). */
#define IDS_USAGE 500

/* The adapters page: an adapter that is the interface of a running dial-up connection, which
   counts it: its state, and the note below the list (%1 the adapter, %2 the connection). */
#define IDS_ADAPTER_DIAL_UP 530
#define IDS_ADAPTER_SHARED_NOTE 531

/* Dates in words: month and day names, never the system's, whose language may differ. */
#define IDS_MONTH_FIRST 600 /* 600..611: January .. December */
#define IDS_WEEKDAY_FIRST 612 /* 612..618: Sunday .. Saturday */
#define IDS_MONTH_YEAR 619 /* %1 month name, %2 year */
#define IDS_LONG_DATE 620 /* %1 day name, %2 day, %3 month name, %4 year */
/* The options sheet's own buttons, which the system words in its own language. */
#define IDS_SHEET_OK 621
#define IDS_SHEET_CANCEL 622
/* Labels of the main window: the Summary's columns and rows, the list's columns, the running
   connections' share under a chart. */
#define IDS_SUMMARY_USED 623
#define IDS_SUMMARY_LEFT 624
#define IDS_SUMMARY_PER_DAY 625
#define IDS_SUMMARY_COST 626
#define IDS_SUMMARY_MAIN_PERIOD 627
#define IDS_SUMMARY_SECONDARY_PERIOD 628
#define IDS_SUMMARY_TOTAL 629
#define IDS_SUMMARY_MONTH 630 /* row 0 of a tariff whose free units count for the whole month */
#define IDS_LIST_FIRST_COLUMN 631 /* 631..637: date, start, duration, volume, cost, time and volume so far */
#define IDS_CHART_RUNNING_SHARE 638 /* %1 month total, %2 share of the connections running now */
/* Help: the Help item of the tray menu and the page of the language. */
#define IDS_TRAY_HELP 639
#define IDS_HELP_FILE 640 /* the help page beside the program */
/* The billing period, the year at a glance and the comparison of tariffs. */
#define IDS_TIP_BILLING_PERIOD 660 /* %1 its first day, %2 its last day */
#define IDS_TIP_WHOLE_PERIOD 661 /* the Summary's tips when the free units count from a billing day */
#define IDS_TIP_PER_DAY_PERIOD 662 /* %1 a day, %2 days left */
#define IDS_TIP_NOTHING_LEFT_PERIOD 663
#define IDS_TIP_LEFT_AT_PERIOD_END 664 /* %1 left */
#define IDS_TIP_PERIOD_COST 665 /* %1 cost, %2 tariff */
#define IDS_YEAR_HEADING 666 /* %s the year */
#define IDS_YEAR_VOLUME 667 /* captions of the year's three charts */
#define IDS_YEAR_TIME 668
#define IDS_YEAR_COST 669
#define IDS_YEAR_TOTALS 670 /* %1 volume, %2 online time, %3 cost */
#define IDS_YEAR_NO_LOGS 671 /* the year view of a year without any month log */
#define IDS_TIP_YEAR_MONTH_COST 672 /* %1 month, %2 cost, %3 usage, %4 monthly fee */
#define IDS_TIP_YEAR_NO_LOG 673 /* %1 month */
#define IDS_TIP_YEAR_RUNNING 674
#define IDS_TIP_YEAR_TOTALS 675 /* %1 months with a log, %2 tariff */
#define IDS_TIP_YEAR_KEYS 676
#define IDS_TIP_YEAR_MONTH_VOLUME 677 /* %1 month, %2 volume */
#define IDS_TIP_YEAR_MONTH_TIME 678 /* %1 month, %2 online time */
#define IDS_COMPARE_COLUMN_TARIFF 680 /* the comparison's list */
#define IDS_COMPARE_COLUMN_USAGE 681
#define IDS_COMPARE_COLUMN_FIXED 682
#define IDS_COMPARE_COLUMN_TOTAL 683
#define IDS_COMPARE_COLUMN_DIFFERENCE 684
#define IDS_COMPARE_MONTH 685 /* %s the month shown */
#define IDS_COMPARE_TWELVE_MONTHS 686 /* %s the first and %s the last month */
#define IDS_COMPARE_ACTIVE 687 /* %s the tariff's name: the active one, marked */
#define IDS_COMPARE_NOTE 688 /* below the list */
#define IDS_CSV_MONTH 690 /* the year's table: month, duration, bytes (470..476), then its cost */
#define IDS_CSV_YEAR_COST 691
#define IDS_CSV_YEAR_COST_TARIFF 692 /* %s the active tariff's name */
#define IDS_CSV_TARIFF 693 /* the comparison's table */
#define IDS_CSV_USAGE_COST 694
#define IDS_CSV_FIXED_COST 695
#define IDS_CSV_TOTAL_COST 696
#define IDS_ALERT_USAGE_PERIOD 697 /* the warnings when the free units count from a billing day: */
#define IDS_ALERT_USED_UP_PERIOD 698 /* as 451..454 */
#define IDS_ALERT_MONEY_PERIOD 699

/* Options sheet: the help panel the sheet adds below its pages. */
#define IDC_HELP_SEPARATOR 1000
#define IDC_HELP_PANEL 1001
#define IDC_HELP_TOGGLE 1002
/* The property sheet's own tab control; hovering it shows its help string too. */
#define IDC_SHEET_TABS 12320

/* About dialog (200). IDOK closes it. */
#define IDC_ABOUT_TITLE 1003 /* template text follows string 20, then the version */
#define IDC_ABOUT_MAIL 1004 /* owner-drawn link; its template text is the address */
#define IDC_ABOUT_TEXT1 1005
#define IDC_ABOUT_TEXT2 1006
#define IDC_ABOUT_TEXT3 1007
#define IDC_ABOUT_PNG_NOTICE 1008

/* Tariff page (202). */
#define IDC_TARIFF_LIST 1020
#define IDC_TARIFF_DELETE 1021
#define IDC_TARIFF_NEW_NAME 1022
#define IDC_TARIFF_ADD 1023
#define IDC_TARIFF_TIME_BEGIN 1024
#define IDC_TARIFF_TIME_END 1025
#define IDC_TARIFF_DAY_FIRST 1026 /* 1026 + bit of ldays: Monday .. Sunday, holidays */
#define IDC_TARIFF_MONDAY 1026
#define IDC_TARIFF_TUESDAY 1027
#define IDC_TARIFF_WEDNESDAY 1028
#define IDC_TARIFF_THURSDAY 1029
#define IDC_TARIFF_FRIDAY 1030
#define IDC_TARIFF_SATURDAY 1031
#define IDC_TARIFF_SUNDAY 1032
#define IDC_TARIFF_HOLIDAYS 1033
#define IDC_TARIFF_DAY_LAST 1033
#define IDC_TARIFF_PRECISION 1035
#define IDC_TARIFF_PRECISION_SPIN 1036
#define IDC_TARIFF_UNIT 1037
#define IDC_TARIFF_AMOUNT_FIRST 1038 /* 1038 + index of amount[0..3] */
#define IDC_TARIFF_AMOUNT_LAST 1041
#define IDC_TARIFF_AMOUNT_LABEL_FIRST 1042 /* unit label of each amount field */
#define IDC_TARIFF_AMOUNT_LABEL_LAST 1045
#define IDC_TARIFF_COST_LABEL_FORMAT IDC_TARIFF_AMOUNT_LABEL_FIRST /* template text: "%s" format */
#define IDC_TARIFF_TIME_LABEL_FORMAT 1043 /* template text: "%s" format */
#define IDC_TARIFF_COST_FIRST 1046 /* 1046 + index of cost[0..6] */
#define IDC_TARIFF_COST_LAST 1052
#define IDC_TARIFF_COST_LABEL_FIRST 1053 /* unit label of cost[1..6]; template texts: unit names */
#define IDC_TARIFF_COST_LABEL_LAST 1058

/* General page (204). */
#define IDC_UPDATE_INTERVAL 1060
#define IDC_VOLUME_CORRECTION 1061
#define IDC_START_HIDDEN 1062
#define IDC_ALWAYS_ON_TOP 1063
#define IDC_ON_TOP_WHILE_ONLINE 1064
/* Ticked while the user's Run key starts this telvane. */
#define IDC_START_WITH_WINDOWS 1120

/* Alerts page (205). */
#define IDC_ALERT_USAGE1_ON 1100
#define IDC_ALERT_USAGE1 1101
#define IDC_ALERT_USAGE2_ON 1102
#define IDC_ALERT_USAGE2 1103
#define IDC_ALERT_LIMIT_ON 1104
#define IDC_ALERT_LIMIT 1105
#define IDC_ALERT_HANG_UP 1106

/* Adapters page (206). */
#define IDC_ADAPTER_LIST 1110
#define IDC_ADAPTER_SHARED_NOTE 1130 /* says which adapter is counted as a dial-up connection */

/* Holidays page (203). */
#define IDC_HOLIDAY_LIST 1080
#define IDC_HOLIDAY_DATE 1081
#define IDC_HOLIDAY_NAME 1082
#define IDC_HOLIDAY_ADD 1083
#define IDC_HOLIDAY_DELETE 1084
#define IDC_HOLIDAY_CHANGE 1085
#define IDC_HOLIDAY_EVERY_YEAR 1086 /* the holiday falls on its day in every year */

/* Tariff page (202): the day the free units count from. */
#define IDC_TARIFF_BILLING_DAY 1195
#define IDC_TARIFF_BILLING_DAY_SPIN 1196

/* Compare tariffs (220). IDCANCEL closes it. */
#define IDC_COMPARE_LIST 1197
#define IDC_COMPARE_MONTH 1198
#define IDC_COMPARE_TWELVE_MONTHS 1199
#define IDC_COMPARE_MAKE_ACTIVE 1200
#define IDC_COMPARE_NOTE 1201

/* Confirmation (210): ends with IDYES or IDNO. */
#define IDC_CONFIRM_DONT_ASK 1090
#define IDC_CONFIRM_QUESTION 1091

#endif
