#pragma once

#include <QPlainTextEdit>

// The caption box "txtCaption". A caption is one line, so Enter inserts no line break (the key
// goes on to the window, as for a one-line field), and Tab moves the focus. "|" would split the
// applet's caption list, so a typed "|" is refused and a pasted or dropped one becomes "/".
class TCaptionEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit TCaptionEdit(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
};
