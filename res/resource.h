#pragma once
// Ids of telvane's own resources (the executable's, not the language module's).
#define IDS_ENGLISH_MODULE 1
#define IDS_GERMAN_MODULE 2
#define IDS_SETTINGS_FILE 101
#define IDS_RATES_FILE 102
#define IDS_ALERTS_FILE 103
#define IDS_ADAPTERS_FILE 104

// Icons of the notification area.
#define IDI_OFFLINE 100
#define IDI_ONLINE 101

// PNG pictures, of the numbered resource type 256 (drawn by res/draw_resources.py).
#define PNG_RESOURCE_TYPE 256
#define IDP_ABOUT_BACKGROUND 20
#define IDP_HELP_TOGGLE_ALPHA 21
#define IDP_HELP_TOGGLE_256 22
#define IDP_HELP_TOGGLE_16 23
