#pragma once

#include <QMainWindow>

class EditorDocument;
class QLabel;
class QPlainTextEdit;

// A small window on the substitute editor's document, for use by hand: what the window
// shows is the document, typing and selecting change it, and calls over the bus show here.
class EditorWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit EditorWindow(EditorDocument &document, QWidget *parent = nullptr);

private:
    void showDocument();
    void takeEdits();

    EditorDocument &m_document;
    QPlainTextEdit *m_text;
    QLabel *m_status;
    bool m_showing = false;
};
