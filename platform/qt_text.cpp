#include "platform/qt_text.h"

namespace kvt {

std::string FromQString(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) out.push_back(c.unicode() < 256 ? static_cast<char>(c.unicode()) : '?');
    return out;
}

}  // namespace kvt
