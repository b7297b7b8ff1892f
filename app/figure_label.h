#pragma once

#include <QLabel>

namespace loglezer {

// A label that shows a figure the window writes, such as a total. A screen
// reader finds it by its accessible name ("Totale download") and reads the
// figure, and the day its tooltip names, as its description.
class FigureLabel : public QLabel {
public:
    FigureLabel(const QString& text, QWidget* parent);
};

}  // namespace loglezer
