#pragma once
// What a tariff charges, in words, as the tariff page shows it while the user types: the price
// steps of each period as they will apply, and the trap of a skipped step whose price is taken
// over by a price of 0.
#include <cstddef>
#include <cstdint>

struct Rate;

// How the page writes the parts of a description: the unit a price is per ("MB", "minute"), the
// unit counts are in ("MB", "minutes"), and the money and count texts of the user's locale.
struct TariffWording {
    const char* unitName;
    const char* countUnitName;
    void (*formatPrice)(double price, char* text, size_t size);
    void (*formatCount)(uint64_t units, char* text, size_t size);
};

// One line per period the tariff has (one for both when they charge alike), each step as it
// will apply: "Main period: free up to 5,000 MB, then $0.01 per MB for every MB beyond." A step
// of length 0 is skipped; where its price differs from the one that takes over, the line says
// so. Lines end in CR LF.
void describeTariff(const Rate& rate, const TariffWording& wording, char* text, size_t size);

// Where a skipped step hands over to a price of 0: a step of length 0 with a price, followed by
// a price of 0, in a period the tariff has. The usage beyond `freeFrom` (tariff units) then
// costs nothing. Gives the number of the skipped price as the page labels it (1 or 2), or 0.
int freeUsageTrap(const Rate& rate, uint32_t* freeFrom);
