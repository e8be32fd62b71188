#include "document/TCaptionEdit.h"

#include "document/CaptionText.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

TCaptionEdit::TCaptionEdit(QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("txtCaption"));
    setTabChangesFocus(true);
}

void TCaptionEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter
        || event->text().contains(CaptionSeparator)) {
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TCaptionEdit::inputMethodEvent(QInputMethodEvent *event)
{
    // Text composed by an input method counts as typed.
    if (!event->commitString().contains(CaptionSeparator)) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QString commit = event->commitString();
    commit.remove(CaptionSeparator);
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(commit, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&filtered);
}

void TCaptionEdit::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText())
        return;
    insertPlainText(WithoutCaptionSeparators(source->text()));
}
