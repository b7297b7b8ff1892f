#pragma once

#include <string>

namespace loglezer {

// The values the window's handlers share. One instance, owned by the window
// (or by the stats command line tool) and passed by reference.
struct SharedState {
    // The two amounts of the line read last, in bytes (the daily run leaves
    // the day's gigabytes in them).
    long double line_download = 0;
    long double line_upload = 0;
    // Totals of the whole log, in bytes; scaled only when they are written.
    long double total_download = 0;
    long double total_upload = 0;
    // The largest amount of one line, in bytes, and the index of the line it
    // was first read from (-1 before any).
    long double record_download_bytes = 0;
    long double record_upload_bytes = 0;
    long long record_download_line = -1;
    long long record_upload_line = -1;
    // The records as shown: scaled to the unit of records_suffix and rounded.
    long double record_download = 0;
    long double record_upload = 0;
    std::string totals_suffix;   // " KB" .. " TB", empty until first scaled
    std::string records_suffix;  // the same for the records
    std::string current_month_name;
    std::string period_text;  // "sinds dd Maand yyyy", from line 0
};

}  // namespace loglezer
