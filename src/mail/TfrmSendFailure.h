#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The box after a failed send: the error text, "To Clipboard" (accepts) and "&Close"
// (rejects; the default and Escape button). The box grows taller when the text needs more
// lines than its usual four.
class TfrmSendFailure : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSendFailure(const QString &errorText, QWidget *parent = nullptr);

    QLabel *lblError = nullptr;
    QPushButton *butClipboard = nullptr;
    QPushButton *butClose = nullptr;

    // Shows the box modally; true when the user chose "To Clipboard".
    static bool Ask(QWidget *parent, const QString &errorText);
};
