#pragma once

#include "integration/BrowserList.h"

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;
class RegistryKey;

// "Edit Browsers": the browser list editor. Works on the registry key of the list it is
// given: one subkey per browser with its program ("EXE Name") and DDE name.
class TfrmEdit : public QDialog
{
    Q_OBJECT
public:
    TfrmEdit(const BrowserServices &services, RegistryKey &key, QWidget *parent = nullptr);
    ~TfrmEdit() override;

    QListWidget *lstBrowsers = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *txtExe = nullptr;
    QToolButton *btnBrowseEXE = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *txtDDE = nullptr;
    QPushButton *btnAdd = nullptr;
    QPushButton *btnDelete = nullptr;
    QPushButton *btnAutoFind = nullptr;
    QPushButton *btnClose = nullptr;

    // The browser whose fields are shown; empty with nothing selected.
    QString SelectedBrowser() const { return m_selected; }

public slots:
    void FormShow();
    void lstBrowsersClick();
    void txtExeExit();
    void txtDDEExit();
    void btnBrowseEXEClick();
    void btnAddClick();
    void btnDeleteClick();
    void btnAutoFindClick();
    void btnCloseClick();
    void ClearSelection();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void fillList();
    void enableFields(bool on);
    QString browserValue(const QString &name) const;
    void writeBrowserValue(const QString &name, const QString &value);

    BrowserServices m_services;
    RegistryKey &m_key;
    QString m_selected;
};
