#include "json_keys.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <vector>

namespace reply {
namespace {

// The key as the parser will see it: escapes such as \u0061 spell the same key as "a".
QByteArray unescaped(const QByteArray& raw) {
    if (!raw.contains('\\')) return raw;
    const QJsonDocument doc = QJsonDocument::fromJson("[\"" + raw + "\"]");
    return doc.array().at(0).toString().toUtf8();
}

// Index just past the string that starts at text[start] == '"', or -1 when it never ends.
int stringEnd(const QByteArray& text, int start) {
    for (int i = start + 1; i < text.size(); ++i) {
        if (text[i] == '\\')
            ++i;
        else if (text[i] == '"')
            return i + 1;
    }
    return -1;
}

int skipSpace(const QByteArray& text, int i) {
    while (i < text.size() &&
           (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'))
        ++i;
    return i;
}

struct Level {
    bool object = false;
    QSet<QByteArray> keys;
};

}  // namespace

bool hasDuplicateKeys(const QByteArray& text) {
    std::vector<Level> levels;
    for (int i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '{' || c == '[') {
            levels.push_back(Level{c == '{', {}});
        } else if ((c == '}' || c == ']') && !levels.empty()) {
            levels.pop_back();
        } else if (c == '"') {
            const int end = stringEnd(text, i);
            if (end < 0) return false;  // not JSON; the parser will say so
            const bool isKey = !levels.empty() && levels.back().object &&
                               skipSpace(text, end) < text.size() &&
                               text[skipSpace(text, end)] == ':';
            if (isKey) {
                const QByteArray key = unescaped(text.mid(i + 1, end - i - 2));
                if (levels.back().keys.contains(key)) return true;
                levels.back().keys.insert(key);
            }
            i = end - 1;
        }
    }
    return false;
}

}  // namespace reply
