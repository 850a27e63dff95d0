#include "ui/dialogs/tarifftable.h"

#include <cstring>
#include <new>

#include "core/apperror.h"

Rate* appendTariff()
{
    const int slot = tariffCount();
    if (slot == kTariffSlots)
        return nullptr;
    Rate* rate = new (std::nothrow) Rate {};
    if (rate == nullptr) {
        AppError = kErrorNoMemory;
        return nullptr;
    }
    strcpy(rate->precision, "2");
    TariffTable[slot] = rate;
    return rate;
}

bool removeTariff(int index)
{
    const int count = tariffCount();
    if (index < 0 || index >= count)
        return false;
    delete TariffTable[index];
    for (int slot = index; slot + 1 < count; ++slot)
        TariffTable[slot] = TariffTable[slot + 1];
    TariffTable[count - 1] = nullptr;
    return true;
}

bool isStorableTariffName(const char* name) { return strchr(name, '<') == nullptr; }
