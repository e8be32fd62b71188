#include "mail/TfrmSendFailure.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr int ClientWidth = 374;
constexpr int ClientHeight = 101;
constexpr int LabelHeight = 55;

} // namespace

TfrmSendFailure::TfrmSendFailure(const QString &errorText, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("An error has occurred"));
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(8);
    setFont(font);

    lblError = new QLabel(this);
    lblError->setWordWrap(true);
    lblError->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblError->setTextFormat(Qt::PlainText);
    // The texts break lines with CR LF; the label wants LF alone.
    lblError->setText(QString(errorText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    const int labelHeight = std::max(LabelHeight, lblError->heightForWidth(365));
    lblError->setGeometry(4, 8, 365, labelHeight);
    const int grown = labelHeight - LabelHeight;

    butClipboard = new QPushButton(QStringLiteral("To Clipboard"), this);
    butClipboard->setGeometry(212, 72 + grown, 75, 25);
    // Enter presses the focused button; Close is the default elsewhere.
    butClipboard->setAutoDefault(true);
    butClose = new QPushButton(QStringLiteral("&Close"), this);
    butClose->setGeometry(296, 72 + grown, 75, 25);
    butClose->setDefault(true);
    setTabOrder(butClipboard, butClose);
    butClipboard->setFocus();

    setFixedSize(ClientWidth, ClientHeight + grown);
    connect(butClipboard, &QPushButton::clicked, this, &QDialog::accept);
    connect(butClose, &QPushButton::clicked, this, &QDialog::reject);

    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

bool TfrmSendFailure::Ask(QWidget *parent, const QString &errorText)
{
    TfrmSendFailure box(errorText, parent);
    return box.exec() == QDialog::Accepted;
}
