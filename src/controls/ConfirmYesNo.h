#pragma once

#include <QString>

class Prompts;

// A confirmation box with Yes and No; true on Yes.
bool ConfirmYesNo(Prompts &prompts, const QString &message);
