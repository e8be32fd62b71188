#pragma once

#include <QString>

// The host HTML editor's automation object, reached by its raw methods by name.
// The real link talks D-Bus to the bus name "Quillon4.Plugin"; tests use a scripted double.
// Every method call on a vanished editor throws EHostError.
class HostLink
{
public:
    virtual ~HostLink() = default;

    // Asks every candidate "WM_ISQUILLONRUNNING"; true when one answers above 0 within
    // timeoutMs. Never throws.
    virtual bool probe(int timeoutMs) = 0;
    // Creates the automation object; throws EHostError when it cannot.
    virtual void createObject() = 0;
    virtual bool hasObject() const = 0;

    virtual QString isopendoc() = 0;
    virtual void QL_CREATENEWDOC() = 0;
    virtual int getselstart() = 0;
    virtual void puttextatcursor(const QString &text) = 0;
    virtual void replacealltext(const QString &text) = 0;
    virtual void setselection(int start, int length) = 0;
    virtual QString getseltext() = 0;
    virtual QString getalltext() = 0;
    virtual QString currentdocname() = 0;
    // "BrowserList" on a fresh automation object, as the browser menu asks for it.
    virtual QString BrowserList() = 0;
};
