#pragma once

#include <string>

namespace loglezer {

// The values the window's handlers share. One instance, owned by the window
// (or by the stats command line tool) and passed by reference.
struct SharedState {
    // Totals of the whole log, in bytes; scaled only when they are written.
    long double total_download = 0;
    long double total_upload = 0;
    // The largest amount of one line, in bytes, and the index of the line it
    // was first read from (-1 before any); scaled only when they are written.
    long double record_download_bytes = 0;
    long double record_upload_bytes = 0;
    long long record_download_line = -1;
    long long record_upload_line = -1;
    // The units the totals and the records were last written in, " KB" ..
    // " TB": empty until first scaled, and kept by a run whose figures need
    // no division.
    std::string totals_suffix;
    std::string records_suffix;
    // The Dutch month name translated last; kept when a look-up finds none.
    std::string current_month_name;
    std::string period_text;  // "sinds dd Maand yyyy", from line 0
};

}  // namespace loglezer
