#pragma once

#include "colour/ColourText.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class Prompts;
class QAction;
class QComboBox;
class QFrame;
class QMenu;
class QToolButton;
class RegistryKey;

// The custom colour schemes inside the colour picker's "Custom Color Schemes" box: the
// scheme list with its add and delete buttons and a row of 16 swatches. A click on a swatch
// hands its colour to the picker; the swatch menu sets a swatch from the picker's current
// colour, empties it or clears them all. Swatches are written to the selected scheme by
// SaveScheme (the picker's OK, and every swatch menu action except Clear All).
class TCustomSchemes : public QWidget
{
    Q_OBJECT
public:
    TCustomSchemes(RegistryKey &registry, Prompts &prompts, std::function<ColourValue()> currentColour,
                   QWidget *parent = nullptr);

    void LoadSchemeList();
    void LoadScheme();
    void SaveScheme();
    void SetSwatchColour(QFrame *swatch, ColourValue colour);

    // The swatches in child order; a swatch's colour and whether it shows a hint.
    QList<QFrame *> Swatches() const;
    static ColourValue SwatchColour(const QFrame *swatch);

    // Handlers, named after their controls; the swatch menu acts on the swatch given.
    void cmbSchemesClick();
    void btnAddSchemeClick();
    void btnDeleteSchemeClick();
    void mnuPopAddClick(QFrame *swatch);
    void mnuPopDeleteClick(QFrame *swatch);
    void mnuPopClearClick();

    QComboBox *cmbSchemes = nullptr;
    QToolButton *btnAddScheme = nullptr;
    QToolButton *btnDeleteScheme = nullptr;
    QFrame *pnlCustom = nullptr;
    QMenu *mnuPop = nullptr;
    QAction *mnuPopAdd = nullptr;
    QAction *mnuPopDelete = nullptr;
    QAction *mnuPopClear = nullptr;

signals:
    void swatchClicked(ColourValue colour);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QFrame *addSwatch(int index);
    QString selectedScheme() const;

    RegistryKey &m_registry;
    Prompts &m_prompts;
    std::function<ColourValue()> m_currentColour;
    QPointer<QFrame> m_menuSwatch;
};
