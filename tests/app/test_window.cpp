#include "tests/app/window_fixture.h"

using namespace test_support;

namespace {

TEST_F(Window, StartUpShowsTheYearlyViewOfTheLog) {
    start(log_of(days_from(2005, 1, 1, 365 + 365)));
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(items(year()), (std::vector<std::string>{"2005", "2006"}));
    EXPECT_EQ(year()->currentText(), "2006");
    EXPECT_TRUE(year()->isHidden());
    EXPECT_TRUE(month()->isHidden());
    EXPECT_TRUE(option(0)->isChecked());
    EXPECT_EQ(month()->count(), 12);
    EXPECT_EQ(month()->currentText(), "Januari");
    EXPECT_EQ(chart("chartdownload").titles(), std::vector<std::string>{"Download per jaar sinds 01 Januari 2005"});
    EXPECT_EQ(chart("chartupload").titles(), std::vector<std::string>{"Upload per jaar sinds 01 Januari 2005"});
    EXPECT_EQ(labels(chart("chartdownload")), (std::vector<std::string>{"2005", "2006"}));
    EXPECT_DOUBLE_EQ(chart("chartdownload").points()[0].value, 365.0);
    EXPECT_DOUBLE_EQ(chart("chartupload").points()[1].value, 182.5);
    // Exactly 1024 MB is not divided again.
    EXPECT_EQ(caption("lbl_recorddown").toStdString(), "1024 MB");
    EXPECT_EQ(caption("lbl_recordup").toStdString(), "512 MB");
    EXPECT_EQ(caption("lbl_totaldown").toStdString(), "730 GB");
    EXPECT_EQ(caption("lbl_totalup").toStdString(), "365 GB");
    EXPECT_EQ(chart("chartupload").titles(), std::vector<std::string>{"Upload per jaar sinds 01 Januari 2005"});
    EXPECT_FALSE(form_->log_missing());
}

TEST_F(Window, AnEmptyLogStopsTheStartUpWithTheListError) {
    start("");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "List index out of bounds (0)");
    EXPECT_EQ(titles_[0], "test_app");
    // No figure, and no name of the layout in its place, also in the
    // hidden "Bundel" box.
    for (const char* name : {"lbl_totaldown", "lbl_totalup", "lbl_recorddown", "lbl_recordup", "lbl_allowanceused",
                             "lbl_allowanceestimate"}) {
        EXPECT_EQ(caption(name), "") << name;
    }
    EXPECT_TRUE(year()->isHidden());
    EXPECT_EQ(chart("chartdownload").titles(), std::vector<std::string>{"Download"});
    EXPECT_TRUE(chart("chartdownload").points().empty());
}

TEST_F(Window, AMissingLogShowsTheBoxAndNothingElse) {
    std::ofstream(dir_ / "log.ini") << "[path]\nlog=gone.csv\n";
    WindowSeams seams;
    seams.show_failure = [this](QWidget*, const QString&, const QString& text) {
        messages_.push_back(text.toStdString());
    };
    seams.show_log_missing = [this](const MissingLogBox&) {
        ++missing_boxes_;
        return MissingLogAnswer::Close;
    };
    seams.working_dir = dir_;
    form_ = std::make_unique<MainWindow>(seams);
    EXPECT_TRUE(form_->log_missing());
    EXPECT_EQ(missing_boxes_, 1);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(Window, AMissingLogNamedOnTheCommandLineShowsItsFullPathInTheBox) {
    std::ofstream(dir_ / "log.csv") << log_of(days_from(2005, 1, 1, 2));
    open("gone.csv");
    EXPECT_TRUE(form_->log_missing());
    EXPECT_EQ(missing_details_, std::vector<std::string>{(dir_ / "gone.csv").string()});
    EXPECT_EQ(open_offered_, std::vector<bool>{false}) << "a log named is not replaced by another";
}

TEST_F(Window, OptionsShowAndHideTheSelectors) {
    start(log_of(days_from(2005, 1, 1, 40)));
    const std::tuple<int, bool, bool> table[] = {{1, true, false}, {2, true, true}, {0, false, false}, {2, true, true}};
    for (const auto& [index, year_shown, month_shown] : table) {
        click(option(index));
        EXPECT_EQ(!year()->isHidden(), year_shown) << index;
        EXPECT_EQ(!month()->isHidden(), month_shown) << index;
    }
    EXPECT_TRUE(messages_.empty());
}

TEST_F(Window, ArrowKeysInTheOptionsActLikeClicks) {
    start(log_of(days_from(2005, 1, 1, 40)));
    form_->show();
    form_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    option(0)->setFocus();
    QTest::keyClick(option(0), Qt::Key_Right);
    EXPECT_TRUE(option(1)->isChecked());
    EXPECT_FALSE(year()->isHidden());
    EXPECT_TRUE(month()->isHidden());
}

TEST_F(Window, TypingAYearDigitByDigitShowsNoBoxAndEndsWithItsMonths) {
    start(log_of(days_from(2022, 6, 1, 600)));
    click(option(1));
    QLineEdit* edit = year()->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, "2023");
    EXPECT_EQ(messages_, std::vector<std::string>{});
    EXPECT_EQ(month()->count(), 12);
    EXPECT_EQ(month()->currentText(), "Januari");
    EXPECT_EQ(items(month()).back(), "December");
}

TEST_F(Window, PickingAYearFromTheListRefillsTheMonths) {
    start(log_of(days_from(2005, 3, 1, 400)));
    click(option(1));
    // The drop-down list, driven with the keyboard: Up picks the item
    // above the one shown.
    year()->setFocus();
    QTest::keyClick(year(), Qt::Key_Up);
    EXPECT_EQ(year()->currentText(), "2005");
    EXPECT_EQ(items(month()).front(), "Maart");
    EXPECT_EQ(month()->count(), 10);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(Window, FixedSizeAndTheGeometryOfEveryControl) {
    start(log_of(days_from(2005, 1, 1, 40)));
    EXPECT_EQ(form_->objectName(), "Form1");
    EXPECT_EQ(form_->windowTitle(), "Pellicor!");
    EXPECT_EQ(form_->minimumSize(), QSize(1065, 625));
    EXPECT_EQ(form_->maximumSize(), QSize(1065, 625));
    struct Place {
        const char* name;
        QRect rect;
        const char* parent;
    };
    const Place table[] = {
        {"sbtn_showstats", {8, 8, 75, 25}, "Form1"},
        {"chartdownload", {8, 104, 1049, 249}, "Form1"},
        {"sbtn_savedownload", {8, 8, 89, 25}, "chartdownload"},
        {"cb_year", {88, 8, 105, 21}, "Form1"},
        {"cb_month", {200, 8, 121, 21}, "Form1"},
        {"Radios", {8, 48, 313, 41}, "Form1"},
        {"chartupload", {8, 368, 1049, 250}, "Form1"},
        {"sbtn_saveupload", {8, 8, 89, 25}, "chartupload"},
        {"gb_totals", {856, 8, 201, 81}, "Form1"},
        {"Label1", {29, 48, 55, 20}, "gb_totals"},
        {"Label2", {9, 24, 75, 20}, "gb_totals"},
        {"GroupBox1", {648, 8, 201, 81}, "Form1"},
        {"Label3", {9, 24, 75, 20}, "GroupBox1"},
        {"Label4", {29, 48, 55, 20}, "GroupBox1"},
    };
    for (const auto& p : table) {
        QWidget* w = child<QWidget>(p.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), p.rect) << p.name;
        EXPECT_EQ(w->parentWidget()->objectName(), p.parent) << p.name;
    }
    // The credit ends at the panel's right edge and meets its bottom, starting
    // at 910 or, when the font writes it wider, further left.
    const QRect credit = child<QLabel>("Label5")->geometry();
    EXPECT_EQ(credit.x() + credit.width(), 1049);
    EXPECT_EQ(credit.y() + credit.height(), 250);
    EXPECT_LE(credit.x(), 910);
    EXPECT_GE(credit.width(), child<QLabel>("Label5")->sizeHint().width());
    for (const char* name : {"lbl_totaldown", "lbl_totalup", "lbl_recorddown", "lbl_recordup"}) {
        EXPECT_EQ(child<QLabel>(name)->x(), 84) << name;
    }
    for (const char* name : {"sbtn_showstats", "sbtn_savedownload", "sbtn_saveupload"}) {
        EXPECT_TRUE(child<QPushButton>(name)->isFlat()) << name;
        EXPECT_EQ(child<QPushButton>(name)->focusPolicy(), Qt::NoFocus) << name;
    }
}

TEST_F(Window, CaptionsSizeTheirLabelsAndKeepTheLeftEdge) {
    start(log_of(days_from(2005, 1, 1, 40)));
    for (const char* name : {"lbl_totaldown", "lbl_totalup", "lbl_recorddown", "lbl_recordup"}) {
        QLabel* label = child<QLabel>(name);
        EXPECT_EQ(label->x(), 84) << name;
        EXPECT_EQ(label->width(), label->sizeHint().width()) << name;
    }
    // "40 GB" against "20 GB" is the same width; a longer caption is wider.
    QLabel* down = child<QLabel>("lbl_totaldown");
    QLabel* record = child<QLabel>("lbl_recorddown");
    EXPECT_GT(down->width(), 0);
    EXPECT_EQ(down->text(), "40 GB");
    EXPECT_EQ(record->text(), "1024 MB");
    EXPECT_GT(record->width(), down->width());
}

TEST_F(Window, FontsColoursIconAndItems) {
    start(log_of(days_from(2005, 1, 1, 40)));
    EXPECT_EQ(form_->font().pixelSize(), 11);
    EXPECT_EQ(form_->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(form_->windowIcon().availableSizes().contains(QSize(256, 256)));
    for (const char* name : {"gb_totals", "GroupBox1"}) {
        const QFont f = child<QGroupBox>(name)->font();
        EXPECT_EQ(f.pixelSize(), 16) << name;
        EXPECT_TRUE(f.bold() && f.italic()) << name;
    }
    EXPECT_EQ(child<QGroupBox>("gb_totals")->title(), "Totaal sinds");
    EXPECT_EQ(child<QGroupBox>("GroupBox1")->title(), "Records sinds");
    for (const char* name :
         {"Label1", "Label2", "Label3", "Label4", "lbl_totaldown", "lbl_totalup", "lbl_recorddown", "lbl_recordup"}) {
        const QFont f = child<QLabel>(name)->font();
        EXPECT_EQ(f.pixelSize(), 16) << name;
        EXPECT_FALSE(f.bold() || f.italic()) << name;
    }
    EXPECT_EQ(child<QLabel>("Label5")->font().pixelSize(), 11);
    EXPECT_EQ(child<QGroupBox>("Radios")->title(), "Opties:");
    EXPECT_EQ(option(0)->text(), "Per jaar");
    EXPECT_EQ(option(1)->text(), "Per maand");
    EXPECT_EQ(option(2)->text(), "Per dag");
    EXPECT_LT(option(0)->x(), option(1)->x());
    EXPECT_LT(option(1)->x(), option(2)->x());
    EXPECT_EQ(option(0)->y(), option(2)->y());
    for (QComboBox* cb : {year(), month()}) {
        EXPECT_TRUE(cb->isEditable());
        EXPECT_EQ(cb->palette().color(QPalette::Base), QColor(Qt::white));
        QStyleOptionViewItem item;
        EXPECT_EQ(cb->itemDelegate()->sizeHint(item, cb->model()->index(0, 0)).height(), 13);
    }
    EXPECT_EQ(child<QPushButton>("sbtn_showstats")->text(), "Maak stats");
    EXPECT_EQ(child<QPushButton>("sbtn_savedownload")->text(), "Grafiek opslaan");
    EXPECT_TRUE(child<ChartPanel>("chartdownload")->animated_zoom());
    EXPECT_FALSE(child<ChartPanel>("chartupload")->animated_zoom());
}

TEST_F(Window, TypedTextIsNeverAddedToTheYearList) {
    start(log_of(days_from(2005, 1, 1, 40)));
    click(option(1));
    QLineEdit* edit = year()->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, "1999");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(items(year()), std::vector<std::string>{"2005"});
    EXPECT_EQ(year()->currentText(), "1999");
}

TEST_F(Window, TabMovesAmongTheVisibleSelectorsOptionsAndCharts) {
    start(log_of(days_from(2005, 1, 1, 40)));
    form_->show();
    form_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    click(option(2));
    year()->setFocus();
    std::vector<QString> seen;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* f = QApplication::focusWidget();
        QWidget* named = f;
        while (named && named->objectName().isEmpty()) named = named->parentWidget();
        seen.push_back(named ? named->objectName() : QString());
    }
    const std::vector<QString> expected = {"cb_month", "Radios", "chartdownload", "chartupload", "cb_year", "cb_month"};
    EXPECT_EQ(seen, expected);

    click(option(1));
    year()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* f = QApplication::focusWidget();
    EXPECT_TRUE(f && (f->objectName() == "Radios" || f->parentWidget()->objectName() == "Radios"));
}

TEST_F(Window, BothSaveButtonsWriteAPictureThroughTheDialog) {
    start(log_of(days_from(2005, 1, 1, 40)));
    const char* buttons[] = {"sbtn_savedownload", "sbtn_saveupload"};
    for (const char* name : buttons) {
        const fs::path file = dir_ / (std::string(name) + ".jpg");
        save_answer_ = QString::fromStdString(file.string());
        click(child<QPushButton>(name));
        QImage picture(QString::fromStdString(file.string()));
        EXPECT_EQ(picture.size(), QSize(1049, 249)) << name;
    }
    save_answer_.reset();
    click(child<QPushButton>("sbtn_savedownload"));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(Window, ASaveOntoTheLogIsRefusedAndWritesNothing) {
    const std::string log = log_of(days_from(2005, 1, 1, 40));
    start(log);
    // The log by its own name, through a symbolic link and through a hard link.
    const std::pair<const char*, void (*)(const fs::path&, const fs::path&)> ways[] = {
        {"log.csv", nullptr},
        {"grafiek.jpg", [](const fs::path& to, const fs::path& link) { fs::create_symlink(to, link); }},
        {"kopie.jpg", [](const fs::path& to, const fs::path& link) { fs::create_hard_link(to, link); }},
    };
    for (const auto& [name, make_link] : ways) {
        const fs::path chosen = dir_ / name;
        if (make_link) make_link(dir_ / "log.csv", chosen);
        save_answer_ = QString::fromStdString(chosen.string());
        messages_.clear();
        click(child<QPushButton>("sbtn_savedownload"));
        EXPECT_EQ(messages_,
                  std::vector<std::string>{"Cannot create file \"" + chosen.string() + "\". This is the log file."})
            << name;
        std::ifstream in(dir_ / "log.csv", std::ios::binary);
        EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), {}) == log) << name << ": the log was changed";
    }
}

// A long quoted text wraps in the box instead of running past its edge.
TEST(Wrappable, BreaksLongRunsOnly) {
    const QString zw(QChar(0x200B));
    EXPECT_EQ(wrappable("'12x' is not a valid floating point value."), "'12x' is not a valid floating point value.");
    const QString amount = "'" + QString(100, '1') + "...'";
    const QString wrapped = wrappable(amount + " is not a valid date");
    EXPECT_EQ(wrapped.count(zw), 3);
    EXPECT_TRUE(wrapped.startsWith("'" + QString(29, '1') + zw));
    EXPECT_EQ(QString(wrapped).remove(zw), amount + " is not a valid date");
    EXPECT_EQ(wrappable(QString(30, 'a') + " " + QString(29, 'b')), QString(30, 'a') + zw + " " + QString(29, 'b'));
}

}  // namespace
