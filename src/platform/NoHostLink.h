#pragma once

#include "platform/EError.h"
#include "platform/HostLink.h"

// The link used when no host editor can be reached: the probe never finds one, so no
// method is ever called; a call anyway is an error, not a silent empty answer.
class NoHostLink : public HostLink
{
public:
    bool probe(int) override { return false; }
    void createObject() override { fail(); }
    bool hasObject() const override { return false; }
    QString isopendoc() override { fail(); }
    void QL_CREATENEWDOC() override { fail(); }
    int getselstart() override { fail(); }
    void puttextatcursor(const QString &) override { fail(); }
    void replacealltext(const QString &) override { fail(); }
    void setselection(int, int) override { fail(); }
    QString getseltext() override { fail(); }
    QString getalltext() override { fail(); }
    QString currentdocname() override { fail(); }
    QString BrowserList() override { fail(); }

private:
    [[noreturn]] static void fail()
    {
        throw EHostError(QStringLiteral("There is no link with Quillon."));
    }
};
