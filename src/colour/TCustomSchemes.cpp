#include "colour/TCustomSchemes.h"

#include "colour/ColourSchemes.h"
#include "controls/ConfirmYesNo.h"
#include "controls/WidgetHelpers.h"
#include "platform/Prompts.h"
#include "platform/RegistryKey.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QToolButton>

#include <algorithm>

namespace {

// Swatches carry their number + 1 here; anything else in the panel has none.
constexpr char SwatchTag[] = "swatchTag";
constexpr char SwatchColourProperty[] = "swatchColour";
constexpr int SwatchSize = 11;

QToolButton *glyphButton(QWidget *parent, int left, const QString &glyph, const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setGeometry(left, 14, 23, 23);
    button->setIconSize(QSize(16, 16));
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    LoadGlyph(button, glyph);
    return button;
}

} // namespace

TCustomSchemes::TCustomSchemes(RegistryKey &registry, Prompts &prompts, std::function<ColourValue()> currentColour,
                               QWidget *parent)
    : QWidget(parent), m_registry(registry), m_prompts(prompts), m_currentColour(std::move(currentColour))
{
    cmbSchemes = new QComboBox(this);
    cmbSchemes->setGeometry(7, 14, 164, 22);
    connect(cmbSchemes, &QComboBox::activated, this, &TCustomSchemes::cmbSchemesClick);
    btnAddScheme = glyphButton(this, 171, QStringLiteral("add"), QStringLiteral("Create new group of custom colors"));
    connect(btnAddScheme, &QToolButton::clicked, this, &TCustomSchemes::btnAddSchemeClick);
    btnDeleteScheme =
        glyphButton(this, 194, QStringLiteral("delete"), QStringLiteral("Remove a group of custom colors"));
    connect(btnDeleteScheme, &QToolButton::clicked, this, &TCustomSchemes::btnDeleteSchemeClick);

    pnlCustom = new QFrame(this);
    pnlCustom->setGeometry(9, 47, 209, 15);
    pnlCustom->setFrameShape(QFrame::Panel);
    pnlCustom->setFrameShadow(QFrame::Sunken);

    mnuPop = new QMenu(this);
    mnuPopAdd = mnuPop->addAction(QStringLiteral("&Set Current Color"));
    mnuPopDelete = mnuPop->addAction(QStringLiteral("&Delete Color"));
    mnuPopClear = mnuPop->addAction(QStringLiteral("&Clear All Colors"));
    connect(mnuPopAdd, &QAction::triggered, this, [this] { mnuPopAddClick(m_menuSwatch); });
    connect(mnuPopDelete, &QAction::triggered, this, [this] { mnuPopDeleteClick(m_menuSwatch); });
    connect(mnuPopClear, &QAction::triggered, this, &TCustomSchemes::mnuPopClearClick);
}

QString TCustomSchemes::selectedScheme() const
{
    return cmbSchemes->currentText();
}

void TCustomSchemes::LoadSchemeList()
{
    const QSignalBlocker blocker(cmbSchemes);
    cmbSchemes->clear();
    cmbSchemes->addItems(SchemeNames(m_registry));
    int selected = cmbSchemes->findText(m_registry.readString(LastSchemeValueName(), DefaultSchemeName()),
                                        Qt::MatchFixedString);
    if (selected < 0)
        selected = cmbSchemes->findText(DefaultSchemeName());
    cmbSchemes->setCurrentIndex(selected);
    LoadScheme();
}

void TCustomSchemes::LoadScheme()
{
    const QList<std::optional<ColourValue>> colours = LoadSchemeColours(m_registry, selectedScheme());
    const QList<QFrame *> old = Swatches();
    for (auto it = old.crbegin(); it != old.crend(); ++it)
        delete *it;
    m_menuSwatch = nullptr;
    for (int i = 0; i < SwatchCount; ++i) {
        QFrame *swatch = addSwatch(i);
        if (colours.at(i))
            SetSwatchColour(swatch, *colours.at(i));
    }
}

QFrame *TCustomSchemes::addSwatch(int index)
{
    auto *swatch = new QFrame(pnlCustom);
    swatch->setGeometry(1 + 13 * index, 2, SwatchSize, SwatchSize);
    swatch->setProperty(SwatchTag, index + 1);
    swatch->setProperty(SwatchColourProperty, SwatchWhite);
    swatch->setAutoFillBackground(true);
    QPalette colours = swatch->palette();
    colours.setColor(QPalette::Window, Qt::white);
    swatch->setPalette(colours);
    swatch->installEventFilter(this);
    swatch->show();
    return swatch;
}

void TCustomSchemes::SetSwatchColour(QFrame *swatch, ColourValue colour)
{
    if (!swatch)
        return;
    swatch->setProperty(SwatchColourProperty, colour);
    QPalette colours = swatch->palette();
    colours.setColor(QPalette::Window, ColourToQColor(colour));
    swatch->setPalette(colours);
    swatch->setToolTip(SwatchHint(colour));
}

QList<QFrame *> TCustomSchemes::Swatches() const
{
    QList<QFrame *> swatches;
    for (QObject *child : pnlCustom->children()) {
        auto *frame = qobject_cast<QFrame *>(child);
        if (frame && frame->property(SwatchTag).toInt() > 0)
            swatches.append(frame);
    }
    return swatches;
}

ColourValue TCustomSchemes::SwatchColour(const QFrame *swatch)
{
    return swatch->property(SwatchColourProperty).value<ColourValue>();
}

void TCustomSchemes::SaveScheme()
{
    QList<ColourValue> colours;
    for (const QFrame *swatch : Swatches())
        colours.append(SwatchColour(swatch));
    SaveSchemeColours(m_registry, selectedScheme(), colours);
}

void TCustomSchemes::cmbSchemesClick()
{
    m_registry.writeString(LastSchemeValueName(), selectedScheme());
    LoadScheme();
}

void TCustomSchemes::btnAddSchemeClick()
{
    const std::optional<QString> answer = m_prompts.input(
        QStringLiteral("New Scheme Name"), QStringLiteral("Please choose a name for this scheme"), QString());
    if (!answer || answer->isEmpty() || cmbSchemes->findText(*answer, Qt::MatchFixedString) >= 0)
        return;
    // A backslash would make the name a path of keys, and the scheme would come back under
    // another name.
    if (answer->contains(QLatin1Char('\\'))) {
        m_prompts.message(QStringLiteral("A scheme name cannot contain \"\\\"."));
        return;
    }
    QStringList names;
    for (int i = 0; i < cmbSchemes->count(); ++i)
        names.append(cmbSchemes->itemText(i));
    names.append(*answer);
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    const QSignalBlocker blocker(cmbSchemes);
    cmbSchemes->clear();
    cmbSchemes->addItems(names);
    cmbSchemes->setCurrentIndex(int(names.indexOf(*answer)));
    LoadScheme();
}

void TCustomSchemes::btnDeleteSchemeClick()
{
    const QString scheme = selectedScheme();
    if (scheme == DefaultSchemeName()) {
        m_prompts.message(QStringLiteral("The [Default] scheme cannot be deleted."));
        return;
    }
    if (!ConfirmYesNo(m_prompts, QStringLiteral("Are you sure you want to remove this scheme ?")))
        return;
    DeleteScheme(m_registry, scheme);
    const QSignalBlocker blocker(cmbSchemes);
    cmbSchemes->removeItem(cmbSchemes->currentIndex());
    cmbSchemes->setCurrentIndex(cmbSchemes->findText(DefaultSchemeName()));
    LoadScheme();
}

void TCustomSchemes::mnuPopAddClick(QFrame *swatch)
{
    if (!swatch)
        return;
    SetSwatchColour(swatch, m_currentColour());
    SaveScheme();
}

void TCustomSchemes::mnuPopDeleteClick(QFrame *swatch)
{
    if (!swatch)
        return;
    SetSwatchColour(swatch, SwatchWhite);
    SaveScheme();
}

void TCustomSchemes::mnuPopClearClick()
{
    if (!ConfirmYesNo(m_prompts, QStringLiteral("Are you sure you want to clear all custom colors ?")))
        return;
    for (QFrame *swatch : Swatches()) {
        SetSwatchColour(swatch, SwatchWhite);
        swatch->setToolTip(QString());
    }
}

bool TCustomSchemes::eventFilter(QObject *watched, QEvent *event)
{
    auto *swatch = qobject_cast<QFrame *>(watched);
    if (swatch && swatch->parent() == pnlCustom) {
        if (event->type() == QEvent::MouseButtonRelease) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton && swatch->rect().contains(mouse->position().toPoint()))
                emit swatchClicked(SwatchColour(swatch));
            return true;
        }
        if (event->type() == QEvent::ContextMenu) {
            m_menuSwatch = swatch;
            mnuPop->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
