#pragma once

#include "platform/HostLink.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

// A scripted host editor: records every call with its arguments, in order, and answers
// from the values below. "vanished" makes every call throw EHostError, as an editor that
// has closed since start-up does (the probe then finds nothing).
class HostLinkDouble : public HostLink
{
public:
    struct Call
    {
        QString method;
        QVariantList arguments;
    };

    // Answers.
    bool probeResult = true;
    bool createObjectThrows = false;
    bool vanished = false;
    bool objectCreated = false; // what hasObject() reports; createObject() sets it
    QString openDocAnswer = QStringLiteral("true");
    int selectionStart = 0;
    QString selectedText;
    QString allText;
    QString documentName;
    QString browserList;

    // Every call, in order.
    QList<Call> calls;

    bool probe(int timeoutMs) override;
    void createObject() override;
    bool hasObject() const override { return objectCreated; }

    QString isopendoc() override;
    void QL_CREATENEWDOC() override;
    int getselstart() override;
    void puttextatcursor(const QString &text) override;
    void replacealltext(const QString &text) override;
    void setselection(int start, int length) override;
    QString getseltext() override;
    QString getalltext() override;
    QString currentdocname() override;
    QString BrowserList() override;

    // The method names of the calls, in order.
    QStringList methods() const;
    // "method(arg, arg)" for every call, in order, for comparing whole conversations.
    QStringList transcript() const;
    void clearCalls() { calls.clear(); }

private:
    void record(const QString &method, const QVariantList &arguments = {});
};
