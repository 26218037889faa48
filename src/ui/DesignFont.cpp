#include "ui/DesignFont.h"

#include <QFontDatabase>
#include <QHash>

#include <algorithm>

namespace tovrin::ui {

namespace {

// The face to ask for: the design face where it is installed, else the first installed
// one of its substitutes. Asking for a design face that is not here makes the font
// database sort every installed face as a fallback first, once per face and script.
QString InstalledFamily(const QString& designFamily)
{
    // Only the families asked about are looked up; listing every family would read
    // the details of all of them.
    const auto installed = [](const QString& family) {
        return !QFontDatabase::styles(family).isEmpty();
    };
    const QStringList substitutes = QFont::substitutes(designFamily);
    static QHash<QString, QString> chosen; // the same answer for every control
    const QString key = designFamily + u'|' + substitutes.join(u'|');
    if (const auto it = chosen.constFind(key); it != chosen.cend())
        return *it;
    QString family = designFamily;
    if (!installed(designFamily)) {
        const auto found = std::find_if(substitutes.begin(), substitutes.end(), installed);
        if (found != substitutes.end())
            family = *found;
    }
    chosen.insert(key, family);
    return family;
}

} // namespace

QFont DesignFont(const char* family, double pointSize, bool bold)
{
    QFont font(InstalledFamily(QString::fromUtf8(family)));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace tovrin::ui
