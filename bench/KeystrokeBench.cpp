// The cost of one keystroke in the query box with a large query: every key re-encodes the
// whole text, twice (key down and key press).

#include "FormFixture.h"

#include "app/QueryBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const qsizetype bytes : {qsizetype(1024), qsizetype(64 * 1024), qsizetype(1 << 20)}) {
        for (const bool chinese : {false, true}) {
            tovrin::testing::FormFixture f;
            const QString unit = chinese ? QStringLiteral("词") : QStringLiteral("w");
            const qsizetype unitBytes = chinese ? 3 : 1;
            f.form->Text1->setMaxLength(std::numeric_limits<int>::max());
            f.form->Text1->setText(unit.repeated(bytes / unitBytes));
            f.form->Text1->setCursorPosition(0);
            std::vector<double> ms;
            for (int i = 0; i < 21; ++i) {
                QElapsedTimer t;
                t.start();
                QTest::keyClick(f.form->Text1, Qt::Key_A);
                ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
            }
            std::sort(ms.begin(), ms.end());
            std::printf("keystroke with %7lld bytes of %s text: median %.3f ms (min %.3f, max %.3f)\n",
                        static_cast<long long>(bytes), chinese ? "Chinese" : "ASCII  ",
                        ms[ms.size() / 2], ms.front(), ms.back());
        }
    }
    return 0;
}
