#include "app/allowance_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace loglezer {
namespace {

constexpr LimitUnit kUnits[] = {LimitUnit::GB, LimitUnit::TB, LimitUnit::GiB, LimitUnit::TiB};
// What counts, in the order of its list, and how the list names it.
constexpr struct {
    Counted counts;
    const char* text;
} kCounted[] = {
    {Counted::Download, "download"},
    {Counted::Upload, "upload"},
    {Counted::Both, "beide"},
};

// A control of the form: its name, what it says to a screen reader and on
// resting the pointer, and the label that names it by a mnemonic.
void describe(QWidget* control, const char* name, const char* spoken, const char* tip) {
    control->setObjectName(QString::fromLatin1(name));
    control->setAccessibleName(QString::fromUtf8(spoken));
    control->setToolTip(QString::fromUtf8(tip));
}

// The dialog's controls, filled in with a choice and read back.
struct AllowanceForm {
    QDoubleSpinBox* amount;
    QComboBox* unit;
    QSpinBox* start_day;
    QComboBox* counts;
    QSpinBox* warn;

    explicit AllowanceForm(QDialog& dialog);
    void fill(const AllowanceChoice& choice) const;
    AllowanceChoice choice() const;
};

AllowanceForm::AllowanceForm(QDialog& dialog)
    : amount(new QDoubleSpinBox(&dialog)),
      unit(new QComboBox(&dialog)),
      start_day(new QSpinBox(&dialog)),
      counts(new QComboBox(&dialog)),
      warn(new QSpinBox(&dialog)) {
    amount->setRange(0.01, 999999.99);
    amount->setDecimals(2);
    for (const LimitUnit u : kUnits) unit->addItem(QString::fromLatin1(limit_unit_name(u)));
    start_day->setRange(kFirstStartDay, kLastStartDay);
    for (const auto& c : kCounted) counts->addItem(QString::fromLatin1(c.text));
    warn->setRange(1, 100);
    warn->setSuffix(QStringLiteral("%"));
    describe(amount, "sp_limit", "Bundel", "Hoeveel verkeer de provider per periode toestaat");
    describe(unit, "cb_limitunit", "Eenheid van de bundel",
             "GB en TB tellen per 1000 (zoals providers), GiB en TiB per 1024");
    describe(start_day, "sp_startday", "Eerste dag van de periode",
             "De dag van de maand waarop een periode begint (1 tot 31)");
    describe(counts, "cb_counts", "Wat telt", "Welk verkeer meetelt voor de bundel");
    describe(warn, "sp_warn", "Waarschuwen bij percentage", "Een melding wanneer dit deel van de bundel gebruikt is");
}

void AllowanceForm::fill(const AllowanceChoice& choice) const {
    amount->setValue(choice.amount);
    unit->setCurrentIndex(static_cast<int>(choice.unit));
    start_day->setValue(choice.start_day);
    for (int i = 0; i < static_cast<int>(std::size(kCounted)); ++i) {
        if (kCounted[i].counts == choice.counts) counts->setCurrentIndex(i);
    }
    warn->setValue(choice.warn);
}

AllowanceChoice AllowanceForm::choice() const {
    AllowanceChoice c;
    c.amount = amount->value();
    c.unit = kUnits[unit->currentIndex()];
    c.start_day = start_day->value();
    c.counts = kCounted[counts->currentIndex()].counts;
    c.warn = warn->value();
    return c;
}

// The limit's amount and unit side by side on one row.
QWidget* limit_row(QDialog& dialog, const AllowanceForm& form) {
    auto* row = new QWidget(&dialog);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(form.amount, 1);
    layout->addWidget(form.unit);
    return row;
}

}  // namespace

AllowanceAnswer ask_allowance(QWidget* parent, const AllowanceChoice& current) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dlg_allowance"));
    dialog.setWindowTitle(QStringLiteral("Bundel instellen"));
    const AllowanceForm form(dialog);
    form.fill(current);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Bundel:"), limit_row(dialog, form));
    fields->addRow(QStringLiteral("&Eerste dag:"), form.start_day);
    fields->addRow(QStringLiteral("&Telt:"), form.counts);
    fields->addRow(QStringLiteral("&Waarschuwen bij:"), form.warn);
    // The labels' mnemonics reach the limit's amount, not its row.
    qobject_cast<QLabel*>(fields->labelForField(fields->itemAt(0, QFormLayout::FieldRole)->widget()))
        ->setBuddy(form.amount);

    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("&Annuleren"), QDialogButtonBox::RejectRole);
    QPushButton* remove = buttons->addButton(QStringLiteral("&Geen bundel"), QDialogButtonBox::DestructiveRole);
    remove->setToolTip(QStringLiteral("De bundel weghalen: de andere instellingen blijven"));
    bool removed = false;
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(remove, &QPushButton::clicked, &dialog, [&] {
        removed = true;
        dialog.accept();
    });

    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    QWidget* order[] = {form.amount, form.unit, form.start_day, form.counts, form.warn};
    for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
    form.amount->setFocus();
    if (dialog.exec() != QDialog::Accepted) return {};
    return {removed ? AllowanceAnswer::Kind::Remove : AllowanceAnswer::Kind::Set, form.choice()};
}

}  // namespace loglezer
