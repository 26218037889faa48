#pragma once

#include <QTextEdit>

namespace tovrin::maker {

// The notice under the result browser: read-only plain text whose lines are one em
// apart, as they are in the fonts the window was designed with. The CJK fonts on Linux
// ask for half as much again, and the last line of the notice (the maker's number) would
// sit below the box.
class NoticeBox : public QTextEdit
{
    Q_OBJECT

public:
    explicit NoticeBox(QWidget* parent = nullptr);

    // The distance from one line to the next, in pixels, for the current font.
    int lineSpacing() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void applyLineSpacing();

    bool m_applying = false;
};

} // namespace tovrin::maker
