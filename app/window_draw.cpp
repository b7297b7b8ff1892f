// The window drawing what its session returns: the charts, the selectors,
// the figures and the "Bundel" box.

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>

#include "app/selectors.h"
#include "app/window.h"
#include "chart/chart_panel.h"
#include "chart/latin1.h"

namespace loglezer {
namespace {

const QColor kWarningRed(0xc0, 0x00, 0x00);  // dark enough to read on white

// A row of the "Bundel" box: red when its figure is over the limit, else in
// the window's colour, `normal`: set on the row, which then never takes the
// colour of the box's caption.
void mark_row(QLabel* caption, QLabel* figure, bool over, const QColor& normal) {
    for (QLabel* label : {caption, figure}) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, over ? kWarningRed : normal);
        label->setPalette(palette);
    }
}

// The caption of the "Bundel" box: red when the log is stale, else in the
// window's colour, `normal`. Styles draw a group's title in either role.
void mark_caption(QGroupBox* box, bool stale, const QColor& normal) {
    QPalette palette = box->palette();
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text})
        palette.setColor(role, stale ? kWarningRed : normal);
    box->setPalette(palette);
}

// The items of a list box, the one that reads `chosen` chosen (the last of
// them, as the arrow keys then move on from it), or else `chosen` as the
// box's text.
void fill_box(QComboBox* box, const std::vector<std::string>& items, const std::string& chosen) {
    box->clear();
    for (const std::string& item : items) box->addItem(from_log_text(item));
    for (int i = box->count(); i-- > 0;) {
        if (box->itemText(i) == from_log_text(chosen)) {
            box->setCurrentIndex(i);
            return;
        }
    }
    box->setEditText(from_log_text(chosen));
}

}  // namespace

void MainWindow::draw(const Outcome& outcome) {
    // What the window writes into its boxes is not told back to the session,
    // which has it already.
    const QSignalBlocker years(ui_.year_box);
    const QSignalBlocker months(ui_.month_box);
    const Screen& screen = session_.screen();
    if (outcome.has(Outcome::Charts)) {
        ui_.download_chart->set_chart(screen.download);
        ui_.upload_chart->set_chart(screen.upload);
    }
    // Another log, or the log read again: a new start, without a zoom.
    if (outcome.has(Outcome::Log)) {
        ui_.download_chart->undo_zoom();
        ui_.upload_chart->undo_zoom();
    }
    if (outcome.has(Outcome::Years)) draw_years();
    if (outcome.has(Outcome::Option)) draw_option();
    if (outcome.has(Outcome::Months)) draw_months();
    if (outcome.has(Outcome::Figures)) draw_figures();
    if (outcome.has(Outcome::Allowance)) draw_allowance();
}

void MainWindow::draw_years() {
    const Screen& screen = session_.screen();
    fill_box(ui_.year_box, screen.years, screen.choice.year);
}

void MainWindow::draw_months() {
    const Screen& screen = session_.screen();
    ui_.month_box->clear();
    for (const std::string& month : screen.months) ui_.month_box->addItem(from_log_text(month));
    ui_.month_box->setEditText(from_log_text(screen.choice.month));
}

void MainWindow::draw_option() {
    const PeriodOption option = session_.screen().choice.option;
    for (int index = 0; index < 3; ++index) {
        if (period_option_at(index) == option) ui_.option_buttons->button(index)->setChecked(true);
    }
    const SelectorVisibility visible = selector_visibility(option);
    ui_.year_box->setVisible(visible.year);
    ui_.month_box->setVisible(visible.month);
}

void MainWindow::draw_figures() {
    const Screen& screen = session_.screen();
    const std::pair<QLabel*, const std::optional<std::string>*> captions[] = {
        {ui_.download_total_label, &screen.total_download},
        {ui_.upload_total_label, &screen.total_upload},
        {ui_.download_record_label, &screen.record_download},
        {ui_.upload_record_label, &screen.record_upload},
    };
    // A label without a figure shows nothing.
    for (const auto& [label, caption] : captions) set_caption(label, caption->value_or(std::string()));
    // The day each record fell on, shown when the pointer rests on it.
    ui_.download_record_label->setToolTip(from_log_text(screen.record_download_day));
    ui_.upload_record_label->setToolTip(from_log_text(screen.record_upload_day));
    // A vnStat database names itself and its interface on the totals
    // ("Totaal sinds"), where a log names nothing.
    ui_.download_total_label->parentWidget()->setToolTip(QString::fromStdString(source_text(session_.source())));
}

void MainWindow::draw_allowance() {
    const std::optional<AllowanceBoxTexts>& texts = session_.screen().allowance;
    ui_.allowance_box->setVisible(texts.has_value());
    if (!texts) return;
    ui_.allowance_box->setTitle(from_log_text(texts->caption));
    set_caption(ui_.allowance_used_label, texts->used);
    set_caption(ui_.allowance_estimate_label, texts->estimate);
    const QColor normal = palette().color(QPalette::WindowText);
    mark_caption(ui_.allowance_box, texts->stale, normal);
    mark_row(ui_.allowance_used_caption, ui_.allowance_used_label, texts->used_over, normal);
    mark_row(ui_.allowance_estimate_caption, ui_.allowance_estimate_label, texts->estimate_over, normal);
    // The details when the pointer rests on the box, and for a screen reader.
    const QString details = QString::fromStdString(texts->tooltip);
    ui_.allowance_box->setToolTip(details);
    ui_.allowance_box->setAccessibleDescription(details);
}

}  // namespace loglezer
