#include "tariff/tariffunits.h"

#include "tariff/rates.h"

int64_t unitSize(int32_t unit)
{
    switch (unit) {
    case 0:
        return 1024;
    case 1:
        return 1048576;
    case 2:
        return 1073741824;
    case 4:
        return 60;
    case 5:
        return 3600;
    default:
        return 1;
    }
}

int64_t freeUnitsOf(const Rate& rate)
{
    return (int64_t(rate.amount[0]) + int64_t(rate.amount[1])) * unitSize(rate.unit);
}
