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

TEST_F(Allowance, TheTooltipGivesThePeriodWhatIsLeftAndTheDaysWithoutALine) {
    separators_ = Separators{',', '.'};
    set_allowance("limit=41,5 GiB\nstart_day=2\ncounts=both\n");
    start(log_of(days_from(2005, 6, 3, 9)));  // 3 to 11 June: day 10 of the period from 2 June
    EXPECT_EQ(box()->title(), "Bundel t/m 1 Juli");
    EXPECT_EQ(box()->toolTip().toStdString(),
              "Periode: 2 Juni 2005 t/m 1 Juli 2005\n"
              "Dag 10 van 30\n"
              "Bundel: 41,50 GiB, telt download en upload\n"
              "Nog over: 28,00 GiB, 1,40 GiB per dag\n"
              "Dagen zonder regel: 1");
}

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

TEST_F(Allowance, ABadValueIsShownOnceAndTheWindowGoesOnWithout) {
    set_allowance("limit=5OO GB\n");
    start(log_of(days_from(2005, 6, 1, 10)));
    EXPECT_EQ(messages_, std::vector<std::string>{"log.ini: [allowance] limit: '5OO GB' is not an amount."});
    EXPECT_TRUE(box()->isHidden());
    EXPECT_EQ(caption("lbl_totaldown"), "10 GB");
}

// What log.ini holds that is not read is told once, at the start; the
// window goes on with what can be read.
TEST_F(Allowance, UnknownKeysAreToldOnceAndTheWindowGoesOn) {
    set_allowance("limit=100 GiB\nstart-day=14\n");
    start(log_of(days_from(2005, 6, 1, 10)));
    EXPECT_EQ(warnings_, std::vector<std::string>{"log.ini: [allowance] unknown key 'start-day' is not read (its "
                                                  "keys: limit, start_day, counts)"});
    EXPECT_EQ(box()->title(), "Bundel t/m 30 Juni");
    form_->reload_log();
    EXPECT_EQ(warnings_.size(), 1u);
}

// [display] units=decimal: the window's GB are 10^9 bytes, its figures as
// well as its bars; the allowance keeps the units of its limit.
TEST_F(Allowance, DecimalUnitsWriteTheWindowsFiguresInTheProvidersGigabytes) {
    set_allowance("limit=100 GiB\n\n[display]\nunits=decimal\n");
    start(log_of(days_from(2005, 6, 1, 10)));
    EXPECT_EQ(caption("lbl_totaldown"), "10.74 GB");
    EXPECT_EQ(chart("chartdownload").points().front().value, 10.74);
    EXPECT_EQ(caption("lbl_allowanceused"), "15.00 GiB (15%)");
}

TEST_F(Allowance, CtrlRReadsTheSettingsAndTheLogAgain) {
    set_allowance("limit=100 GiB\n");
    start(log_of(days_from(2005, 6, 1, 10)));
    set_allowance("limit=10 GiB\n");
    std::ofstream(dir_ / "log.csv", std::ios::app) << log_of({"11-Jun-2005"});
    form_->reload_log();
    EXPECT_EQ(caption("lbl_allowanceused"), "16.50 GiB (165%)");
    EXPECT_TRUE(red("lbl_allowanceused"));
}

}  // namespace
