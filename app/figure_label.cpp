#include "app/figure_label.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace loglezer {
namespace {

class FigureAccessible : public QAccessibleWidget {
public:
    explicit FigureAccessible(QWidget* label) : QAccessibleWidget(label, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Description) return QAccessibleWidget::text(t);
        const auto* label = static_cast<const QLabel*>(widget());
        if (label->toolTip().isEmpty()) return label->text();
        return label->text() + QStringLiteral(" op ") + label->toolTip();
    }
};

}  // namespace

FigureLabel::FigureLabel(const QString& text, QWidget* parent) : QLabel(parent) {
    // Qt would describe it as a plain label, which reads out its name only.
    // The label has no meta-object of its own to make an interface for, so
    // its interface is made here, before anything asks for one; Qt owns it.
    QAccessible::registerAccessibleInterface(new FigureAccessible(this));
    setText(text);
}

}  // namespace loglezer
