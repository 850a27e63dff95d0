#pragma once
// Ids of telvane's own resources (the executable's, not the language module's).
#define IDS_ENGLISH_MODULE 1
#define IDS_GERMAN_MODULE 2
#define IDS_SETTINGS_FILE 101
#define IDS_RATES_FILE 102
