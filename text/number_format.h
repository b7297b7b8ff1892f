#pragma once

#include <string>

namespace loglezer {

// Rounds to two decimals the way every chart value and label figure is
// rounded: the value as a double, divided in extended precision by the double
// nearest 0.01, rounded to the nearest whole number with ties to even,
// multiplied by 0.01 and taken back to a double. 10^9 bytes in gigabytes
// (0.9313...) gives 0.93; 0.125 gives 0.12, since 0.125 / 0.01 lies just below
// 12.5 in extended precision.
double round2(long double value);

// What a KB, MB, GB and TB are: powers of 1024, as the window has always
// counted them and as binary units are (KiB, MiB, GiB, TiB), or powers of
// 1000, as the SI and most providers count.
enum class UnitMode { Binary, Decimal };

// 1024 or 1000: the step from one unit to the next.
long double unit_step(UnitMode units);

// An amount in bytes as chart gigabytes: divided by the step three times,
// then round2.
double to_gigabytes(long double bytes, UnitMode units);

// Scales a download and upload pair to one shared unit. Up to four times,
// while either value is strictly above the step (1024 or 1000), both are
// divided by it and the suffix becomes " KB", " MB", " GB", " TB" in turn.
// When nothing is divided the suffix keeps the text it had, and a value of
// exactly the step stays as it is. Beyond TB nothing is divided, so a value
// may stay above the step.
void scale_units(long double& download, long double& upload, std::string& suffix, UnitMode units);

// A number in general notation: at most 15 significant digits, always fixed
// notation, trailing zeros after the decimal separator dropped, no separator
// for a whole number and no thousands grouping. With a "," separator 12.5
// reads "12,5", 3.0 reads "3" and 0 reads "0".
std::string general_number_text(double value, char decimal_separator);

}  // namespace loglezer
