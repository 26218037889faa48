// The cost of one keystroke in the query box with a large query: every key re-encodes the
// whole text, twice (key down and key press).

#include "FormFixture.h"

#include "lookup/QueryBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <vector>

namespace {

// Median time of one key typed at the start of the box's text.
double MedianKeystrokeMs(QLineEdit* box)
{
    std::vector<double> ms;
    for (int i = 0; i < 21; ++i) {
        QElapsedTimer t;
        t.start();
        QTest::keyClick(box, Qt::Key_A);
        ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const qsizetype bytes : {qsizetype(1024), qsizetype(64 * 1024), qsizetype(1 << 20)}) {
        for (const bool chinese : {false, true}) {
            tovrin::testing::FormFixture f;
            const QString unit = chinese ? QStringLiteral("词") : QStringLiteral("w");
            const qsizetype unitBytes = chinese ? 3 : 1;
            f.query()->setText(unit.repeated(bytes / unitBytes));
            f.query()->setCursorPosition(0);
            // The same box without the window's key procedures, for what Qt itself costs.
            QLineEdit bare;
            bare.setMaxLength(std::numeric_limits<int>::max());
            bare.setText(f.query()->text());
            bare.setCursorPosition(0);
            std::printf("keystroke with %7lld bytes of %s text: query box %8.3f ms, "
                        "plain line edit %8.3f ms (medians of 21)\n",
                        static_cast<long long>(bytes), chinese ? "Chinese" : "ASCII  ",
                        MedianKeystrokeMs(f.query()), MedianKeystrokeMs(&bare));
        }
    }
    return 0;
}
