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

// The folder the class files and the web player are kept in: ProgramFolder() + "/classes/".
QString ClassFilesFolder();

// Writes each class file into ClassFilesFolder() when no file of that name is there yet;
// an existing class file is never replaced, so one put there by hand stays in use. The web
// player script is written when missing and also when its first line (the version comment)
// differs from the one the program carries, so a new program brings its new player. The
// folder is created when missing. Each failure is shown through prompts and the next file
// is still tried; the result is true when all three files are in place.
bool ExtractClassFiles(Prompts &prompts);
