#pragma once

#include <optional>

#include "allowance/allowance_edit.h"

class QWidget;

namespace loglezer {

// The answer to "Bundel instellen".
struct AllowanceAnswer {
    enum class Kind {
        Cancel,  // "Annuleren" or Escape: nothing changes
        Set,     // OK: the choice is written
        Remove,  // "Geen bundel": the limit is taken out
    };
    Kind kind = Kind::Cancel;
    AllowanceChoice choice;
};

// The dialog "Bundel instellen", modal over `parent`, filled in with
// `current`: the limit and its unit, the start day, what counts and the
// warning's percentage.
AllowanceAnswer ask_allowance(QWidget* parent, const AllowanceChoice& current);

}  // namespace loglezer
