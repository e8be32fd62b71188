#pragma once

#include "controls/HelpFile.h"
#include "platform/HelpViewer.h"

#include <QDialog>
#include <QFrame>
#include <QPointer>
#include <QString>
#include <QTextBrowser>

// Help shown from the program's own help file: a full topic in a help window that stays
// open beside the program (its links lead to other topics), a pop-up in a small frame
// beside the pointer that the next click closes. The file is read when first needed; when
// it cannot be read, or holds no sections, the copy embedded in the program is used.
class QtHelpViewer : public HelpViewer
{
public:
    explicit QtHelpViewer(const QString &helpFilePath = QString(), QWidget *parent = nullptr);
    ~QtHelpViewer() override;

    // The application's help file; the next request reads it anew.
    void setHelpFile(const QString &path);
    QString helpFile() const { return m_path; }

    void showTopic(int number) override;
    void showPopup(int number, const QPoint &globalPosition) override;

    // The windows, once shown; for the program's tests and screenshots.
    QDialog *helpWindow() const { return m_window; }
    QFrame *popupFrame() const { return m_popup; }
    QTextBrowser *topicBrowser() const { return m_topicBrowser; }
    QTextBrowser *popupBrowser() const { return m_popupBrowser; }
    int currentTopic() const { return m_currentTopic; }

    // The section's page as the help window or pop-up shows it.
    static QString sectionPage(const HelpFile::Section &section, HelpFile::Kind kind, int number);

private:
    const HelpFile &file();
    void ensureWindow();
    void ensurePopup();

    QString m_path;
    QPointer<QWidget> m_parent;
    HelpFile m_file;
    bool m_loaded = false;
    QPointer<QDialog> m_window;
    QPointer<QTextBrowser> m_topicBrowser;
    QPointer<QFrame> m_popup;
    QPointer<QTextBrowser> m_popupBrowser;
    int m_currentTopic = 0;
};
