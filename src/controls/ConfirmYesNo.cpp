#include "controls/ConfirmYesNo.h"

#include "platform/Prompts.h"

bool ConfirmYesNo(Prompts &prompts, const QString &message)
{
    return prompts.confirm(message);
}
