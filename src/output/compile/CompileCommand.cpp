#include "output/compile/CompileCommand.h"

#include "document/AnimationDocument.h"
#include "integration/HostSession.h"
#include "output/compile/TfrmCompile.h"
#include "platform/Prompts.h"

#include <QToolButton>

std::unique_ptr<TfrmCompile> CreateCompileDialog(AnimationDocument &document, HostSession &host, Prompts &prompts,
                                                 Registry &registry, QWidget *parent)
{
    if (document.frameCount() == 0) {
        prompts.message(QStringLiteral("You have not added any images to the animation yet !  Please click on the "
                                       "\"Add Image\" button and choose one or more image files."));
        return nullptr;
    }
    auto dialog = std::make_unique<TfrmCompile>(document, host, prompts, registry, parent);
    if (!host.HostLinked())
        dialog->btnOut->setToolTip(QStringLiteral("Send the HTML to the clipboard"));
    return dialog;
}

void btnCompileClick(AnimationDocument &document, HostSession &host, Prompts &prompts, Registry &registry,
                     QWidget *parent)
{
    if (std::unique_ptr<TfrmCompile> dialog = CreateCompileDialog(document, host, prompts, registry, parent))
        dialog->exec();
}
