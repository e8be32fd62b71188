#include "EditorWindow.h"

#include "EditorDocument.h"

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextCursor>

EditorWindow::EditorWindow(EditorDocument &document, QWidget *parent)
    : QMainWindow(parent), m_document(document), m_text(new QPlainTextEdit(this)), m_status(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Quillon (substitute host editor)"));
    setCentralWidget(m_text);
    statusBar()->addWidget(m_status, 1);
    resize(640, 420);

    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&New"), &m_document, &EditorDocument::createNew);
    file->addAction(QStringLiteral("&Close"), &m_document, &EditorDocument::close);
    file->addAction(QStringLiteral("Set &Path..."), this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Document Path"));
        if (!path.isEmpty() && m_document.isOpen())
            m_document.open(m_document.text(), path);
    });
    file->addSeparator();
    file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);

    connect(&m_document, &EditorDocument::changed, this, &EditorWindow::showDocument);
    connect(m_text, &QPlainTextEdit::textChanged, this, &EditorWindow::takeEdits);
    connect(m_text, &QPlainTextEdit::cursorPositionChanged, this, &EditorWindow::takeEdits);
    connect(m_text, &QPlainTextEdit::selectionChanged, this, &EditorWindow::takeEdits);
    showDocument();
}

void EditorWindow::showDocument()
{
    // While the window hands its own edits to the document it already shows them.
    if (m_showing)
        return;
    m_showing = true;
    m_text->setEnabled(m_document.isOpen());
    if (m_text->toPlainText() != m_document.text())
        m_text->setPlainText(m_document.text());
    QTextCursor cursor = m_text->textCursor();
    cursor.setPosition(m_document.selectionStart());
    cursor.setPosition(m_document.selectionStart() + m_document.selectionLength(), QTextCursor::KeepAnchor);
    m_text->setTextCursor(cursor);
    if (!m_document.isOpen())
        m_status->setText(QStringLiteral("No open document"));
    else if (m_document.path().isEmpty())
        m_status->setText(QStringLiteral("Untitled document"));
    else
        m_status->setText(m_document.path());
    m_showing = false;
}

void EditorWindow::takeEdits()
{
    if (m_showing || !m_document.isOpen())
        return;
    m_showing = true;
    const QTextCursor cursor = m_text->textCursor();
    if (m_text->toPlainText() != m_document.text())
        m_document.open(m_text->toPlainText(), m_document.path());
    m_document.select(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart());
    m_showing = false;
}
