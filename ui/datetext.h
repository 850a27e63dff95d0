#pragma once
// Dates in words, from the language module: its month and day names, never the system's, whose
// language may not be the one telvane speaks. Dates in figures keep the user's format.
#include <cstddef>
#include <cstdint>

// "December 2026": the month's name and the year in the language's order.
void monthYearText(uint16_t year, uint16_t month, char* text, size_t size);

// "Tuesday, December 1, 2026": day name, day, month name and year in the language's order.
void longDateText(uint16_t year, uint16_t month, uint16_t day, char* text, size_t size);
