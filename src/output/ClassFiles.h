#pragma once

#include <QString>

class Prompts;

// The two applet class files the generated pages run. They are embedded in the program
// as the resources ":/quilanim" and ":/wraplabel".
struct AppletClassFile
{
    QString resourceName; // "quilanim", "wraplabel"
    QString fileName;     // "quilanim.class", "WrappingLabel.class"
};

// quilanim first, then wraplabel.
const AppletClassFile *AppletClassFiles(int *count);

// The folder the class files are kept in: ProgramFolder() + "/classes/".
QString ClassFilesFolder();

// Writes each class file into ClassFilesFolder() when no file of that name is there yet;
// an existing file is never replaced, so a class file put there by hand stays in use.
// The folder is created when missing. A failure is shown through prompts and ends the
// extraction; the result is false then, true when both files are in place.
bool ExtractClassFiles(Prompts &prompts);
