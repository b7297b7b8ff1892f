// "Bundel instellen": the answer written into [allowance] of a log.ini, the
// rest of the file kept, and the "Bundel" box drawn anew at once.

#include "tests/app/window_fixture.h"

using namespace test_support;

namespace {

struct DialogCase {
    const char* name;
    const char* local_ini;  // log.ini of the working directory, before
    AllowanceAnswer answer;
    const char* shown;  // what the dialog was filled in with
    const char* local_after;
    const char* user_after;  // the user's log.ini after; nullptr: not written
    const char* caption;     // the box's title; "" when it is hidden
};

void PrintTo(const DialogCase& c, std::ostream* os) { *os << c.name; }

std::string read_text(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string shown_text(const AllowanceChoice& c) {
    return QString::number(c.amount).toStdString() + " " + limit_unit_name(c.unit) + ", day " +
           std::to_string(c.start_day) + ", " + std::string(counts_name(c.counts)) + ", " + std::to_string(c.warn) +
           "%";
}

class AllowanceDialog : public Window, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(AllowanceDialog, TheAnswerIsWrittenKeepingTheRestAndShownAtOnce) {
    const DialogCase& c = GetParam();
    std::ofstream(dir_ / "log.ini") << c.local_ini;
    allowance_answer_ = c.answer;
    start(log_of(days_from(2005, 6, 1, 10)));
    form_->set_allowance();
    ASSERT_TRUE(allowance_shown_);
    EXPECT_EQ(shown_text(*allowance_shown_), c.shown);
    EXPECT_EQ(read_text(dir_ / "log.ini"), c.local_after);
    EXPECT_EQ(fs::exists(user_ini()) ? read_text(user_ini()) : "(none)", c.user_after ? c.user_after : "(none)");
    auto* box = child<QGroupBox>("gb_allowance");
    EXPECT_EQ(box->isHidden() ? std::string() : box->title().toStdString(), c.caption);
    EXPECT_TRUE(messages_.empty());
}

const AllowanceAnswer kSet120From20th{AllowanceAnswer::Kind::Set, {120, LimitUnit::GB, 20, Counted::Both, 90}};
const AllowanceAnswer kSet1p5TiBUpload{AllowanceAnswer::Kind::Set, {1.5, LimitUnit::TiB, 1, Counted::Upload, 80}};
const AllowanceAnswer kRemove{AllowanceAnswer::Kind::Remove, {}};

INSTANTIATE_TEST_SUITE_P(
    Answers, AllowanceDialog,
    ::testing::Values(DialogCase{"SetGoesToTheUsersIniWhenNoneHasTheSection", "[path]\nlog=log.csv\n", kSet120From20th,
                                 "100 GB, day 1, both, 90%", "[path]\nlog=log.csv\n",
                                 "[allowance]\nlimit=120 GB\nstart_day=20\ncounts=both\nwarn=90\n",
                                 "Bundel t/m 19 Juni"},
                      DialogCase{"ChangeKeepsTheOtherKeysCommentsAndSections",
                                 "[path]\r\nlog=log.csv\r\n\r\n[allowance]\r\nlimit=100 GB\r\n; de provider\r\n"
                                 "counts=download\r\n\r\n[display]\r\nunits=binary\r\n",
                                 kSet1p5TiBUpload, "100 GB, day 1, download, 90%",
                                 "[path]\r\nlog=log.csv\r\n\r\n[allowance]\r\nlimit=1.5 TiB\r\n; de provider\r\n"
                                 "counts=upload\r\nstart_day=1\r\nwarn=80\r\n\r\n[display]\r\nunits=binary\r\n",
                                 nullptr, "Bundel t/m 30 Juni"},
                      DialogCase{"GeenBundelTakesOutTheLimitAlone",
                                 "[path]\nlog=log.csv\n[allowance]\nlimit=2 TiB\nstart_day=20\n", kRemove,
                                 "2 TiB, day 20, both, 90%", "[path]\nlog=log.csv\n[allowance]\nstart_day=20\n",
                                 nullptr, ""}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

}  // namespace
