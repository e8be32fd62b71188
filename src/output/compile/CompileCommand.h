#pragma once

#include <memory>

class AnimationDocument;
class HostSession;
class Prompts;
class QWidget;
class Registry;
class TfrmCompile;

// The main window's Compile command (toolbar button, menu item and F5).

// With no frames: shows the "no images" message and gives no dialog. Otherwise the compile
// dialog for the document, its send button's hint set for the clipboard when no host is
// linked, ready to be shown.
std::unique_ptr<TfrmCompile> CreateCompileDialog(AnimationDocument &document, HostSession &host, Prompts &prompts,
                                                 Registry &registry, QWidget *parent);

// The whole command: CreateCompileDialog, then the dialog shown modally and freed when it
// closes.
void btnCompileClick(AnimationDocument &document, HostSession &host, Prompts &prompts, Registry &registry,
                     QWidget *parent);
