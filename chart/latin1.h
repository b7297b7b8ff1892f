#pragma once

#include <QString>
#include <string>

namespace loglezer {

// Log texts are single bytes without a character set. On their way to and
// from the widgets every byte stands for one Latin-1 character, so the round
// trip keeps them as they are.
inline QString from_log_text(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
inline std::string to_log_text(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace loglezer
