#include "app/selectors.h"

namespace loglezer {

PeriodOption period_option_at(int index) {
    switch (index) {
        case 0:
            return PeriodOption::PerYear;
        case 1:
            return PeriodOption::PerMonth;
        case 2:
            return PeriodOption::PerDay;
        default:
            return PeriodOption::None;
    }
}

SelectorVisibility selector_visibility(PeriodOption option) {
    switch (option) {
        case PeriodOption::PerMonth:
            return {true, false};
        case PeriodOption::PerDay:
            return {true, true};
        case PeriodOption::None:
        case PeriodOption::PerYear:
            break;
    }
    return {false, false};
}

}  // namespace loglezer
