#pragma once

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace loglezer {

class ChartPanel;

// The window's controls that its code reaches. Each is owned by its Qt
// parent; the comment names it in the layout (its objectName).
struct WindowControls {
    QPushButton* make_stats_button = nullptr;     // sbtn_showstats
    ChartPanel* download_chart = nullptr;         // chartdownload
    QPushButton* save_download_button = nullptr;  // sbtn_savedownload
    QComboBox* year_box = nullptr;                // cb_year
    QComboBox* month_box = nullptr;               // cb_month
    QButtonGroup* option_buttons = nullptr;       // the options of Radios, by index
    ChartPanel* upload_chart = nullptr;           // chartupload
    QLabel* credit_label = nullptr;               // Label5
    QPushButton* save_upload_button = nullptr;    // sbtn_saveupload
    QLabel* download_total_label = nullptr;       // lbl_totaldown
    QLabel* upload_total_label = nullptr;         // lbl_totalup
    QLabel* download_record_label = nullptr;      // lbl_recorddown
    QLabel* upload_record_label = nullptr;        // lbl_recordup
    // The "Bundel" box, shown only when an allowance is set.
    QGroupBox* allowance_box = nullptr;            // gb_allowance
    QLabel* allowance_used_caption = nullptr;      // Label6, "Verbruikt:"
    QLabel* allowance_estimate_caption = nullptr;  // Label7, "Verwacht:"
    QLabel* allowance_used_label = nullptr;        // lbl_allowanceused
    QLabel* allowance_estimate_label = nullptr;    // lbl_allowanceestimate
};

// Gives `window` the main window's name, title, fixed size, font, colours and
// icon, and builds its controls from the layout table, each named by its
// layout name, in the order they stack: their positions, sizes, texts,
// fonts, look, names for screen readers and tab order. Connects nothing.
WindowControls lay_out_window(QWidget* window);

}  // namespace loglezer
