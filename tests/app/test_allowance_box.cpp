// The "Bundel" box: the allowance of the current billing period, shown only
// when log.ini sets a limit.

#include "tests/app/window_fixture.h"

using namespace test_support;

namespace {

const QColor kOverRed(0xc0, 0x00, 0x00);

// A window whose log.ini may carry an [allowance] section.
class Allowance : public Window {
protected:
    void set_allowance(const std::string& section) {
        std::ofstream(dir_ / "log.ini") << "[path]\nlog=log.csv\n\n[allowance]\n" << section;
    }
    QGroupBox* box() { return child<QGroupBox>("gb_allowance"); }
    bool red(const char* label) { return child<QLabel>(label)->palette().color(QPalette::WindowText) == kOverRed; }
};

struct RowCase {
    const char* name;
    const char* limit;
    const char* used;
    const char* estimate;
    bool used_red;
    bool estimate_red;
};

void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }

class AllowanceRows : public Allowance, public ::testing::WithParamInterface<RowCase> {};

// 1 to 10 June 2005, 1.5 GB a day: 15 GB used on day 10 of 30, 45 GB at
// that pace.
const RowCase kRows[] = {
    {"Under", "100 GiB", "15,00 GiB (15%)", "45,00 GiB", false, false},
    {"PaceOverTheLimit", "40 GiB", "15,00 GiB (38%)", "45,00 GiB", false, true},
    {"OverTheLimit", "0,012 TiB", "15,00 GiB (122%)", "45,00 GiB", true, true},
    // The provider's gigabytes: 15 GiB is 16.11 x 10^9 bytes.
    {"ProvidersGigabytesOver", "16 GB", "16,11 GB (101%)", "48,32 GB", true, true},
};

TEST_P(AllowanceRows, TheBoxShowsTheUseAndTheEstimateRedWhereOverTheLimit) {
    separators_ = Separators{',', '.'};
    set_allowance(std::string("limit=") + GetParam().limit + "\n");
    start(log_of(days_from(2005, 6, 1, 10)));
    ASSERT_FALSE(box()->isHidden());
    EXPECT_EQ(box()->title(), "Bundel t/m 30 Juni");
    EXPECT_EQ(caption("lbl_allowanceused"), GetParam().used);
    EXPECT_EQ(caption("lbl_allowanceestimate"), GetParam().estimate);
    EXPECT_EQ(red("Label6"), GetParam().used_red);
    EXPECT_EQ(red("lbl_allowanceused"), GetParam().used_red);
    EXPECT_EQ(red("Label7"), GetParam().estimate_red);
    EXPECT_EQ(red("lbl_allowanceestimate"), GetParam().estimate_red);
    EXPECT_TRUE(messages_.empty());
}

INSTANTIATE_TEST_SUITE_P(Limits, AllowanceRows, ::testing::ValuesIn(kRows),
                         [](const auto& case_info) { return std::string(case_info.param.name); });

// The row captions end where "Download:" and "Upload:" end in the other
// boxes: at the figures' left edge.
TEST_F(Allowance, TheRowCaptionsEndWhereThoseOfTheOtherBoxesEnd) {
    set_allowance("limit=100 GB\n");
    start(log_of(days_from(2005, 6, 1, 10)));
    for (const char* name : {"Label1", "Label2", "Label6", "Label7"}) {
        const QLabel* label = child<QLabel>(name);
        const int end = label->x() + label->fontMetrics().horizontalAdvance(label->text());
        EXPECT_NEAR(end, child<QLabel>("lbl_allowanceused")->x(), 1) << name;
    }
    EXPECT_EQ(box()->geometry(), QRect(328, 8, 313, 81));
    EXPECT_EQ(box()->font(), child<QGroupBox>("gb_totals")->font());
    EXPECT_EQ(child<QLabel>("Label6")->font(), child<QLabel>("Label2")->font());
}

// A log without a line for two days or more: the caption says since when,
// in red, and the tooltip what that means; the rows keep their colours.
TEST_F(Allowance, AStaleLogTurnsTheCaptionRedAndSaysSinceWhen) {
    set_allowance("limit=100 GiB\n");
    for (const int day : {11, 30}) {
        today_ = [day] { return LogDate{2005, 6, day}; };
        start(log_of(days_from(2005, 6, 1, 10)));
        const bool stale = day == 30;
        EXPECT_EQ(box()->title(), stale ? "Geen regel sinds 10 Juni" : "Bundel t/m 30 Juni");
        EXPECT_EQ(box()->palette().color(QPalette::WindowText) == kOverRed, stale) << day;
        EXPECT_FALSE(red("Label6"));
        EXPECT_EQ(box()->toolTip().startsWith("De log heeft geen regel sinds 10 Juni 2005.\nHet meetprogramma "
                                              "schrijft niet meer; het verbruik kan hoger zijn.\n\nPeriode: "),
                  stale)
            << box()->toolTip().toStdString();
    }
}

// Without a limit the window is drawn as if the box did not exist.
TEST_F(Allowance, WithoutALimitNoPixelOfTheWindowChanges) {
    for (const char* section : {"", "start_day=14\ncounts=upload\n"}) {
        set_allowance(section);
        start(log_of(days_from(2005, 6, 1, 10)));
        const QImage with_box = form_->grab().toImage();
        delete box();
        EXPECT_EQ(form_->grab().toImage(), with_box) << section;
        EXPECT_TRUE(messages_.empty());
    }
}

}  // namespace
