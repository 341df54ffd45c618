// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "minputmethodstate.h"

#include <QCoreApplication>
#include <QPointer>

namespace {

// Target, item and attribute name never contain a NUL, so it separates them
// unambiguously in the one key an attribute is stored under.
QString attributeKey(const QString& target, const QString& targetItem, const char* attribute)
{
    return target + QChar(0) + targetItem + QChar(0) + QString::fromUtf8(attribute);
}

} // namespace

MInputMethodState::MInputMethodState() = default;

MInputMethodState::~MInputMethodState() = default;

MInputMethodState* MInputMethodState::instance()
{
    // Owned by the application when there is one, so that it goes before
    // the application does rather than after it, at exit.
    static QPointer<MInputMethodState> state;
    if (!state) {
        state = new MInputMethodState;
        state->setParent(QCoreApplication::instance());
    }
    return state;
}

int MInputMethodState::registerAttributeExtension(const QString& fileName)
{
    // The toolbar description is the input method's to read; the application
    // side only hands out the id that names it.
    Q_UNUSED(fileName)
    const int id = m_nextId++;
    m_attributes.insert(id, {});
    return id;
}

void MInputMethodState::unregisterAttributeExtension(int id)
{
    m_attributes.remove(id);
}

bool MInputMethodState::isAttributeExtensionRegistered(int id) const
{
    return m_attributes.contains(id);
}

void MInputMethodState::setExtendedAttribute(int id, const QString& target, const QString& targetItem,
                                             const char* attribute, const QVariant& value)
{
    const auto extension = m_attributes.find(id);
    if (extension == m_attributes.end() || !attribute)
        return;
    extension->insert(attributeKey(target, targetItem, attribute), value);
    Q_EMIT extendedAttributeChanged(id, target, targetItem, QString::fromUtf8(attribute), value);
}

QVariant MInputMethodState::extendedAttribute(int id, const QString& target, const QString& targetItem,
                                              const char* attribute) const
{
    if (!attribute)
        return QVariant();
    return m_attributes.value(id).value(attributeKey(target, targetItem, attribute));
}

bool MInputMethodState::isSoftwareInputPanelVisible() const
{
    return m_panelVisible;
}

void MInputMethodState::requestSoftwareInputPanel()
{
    if (m_panelVisible)
        return;
    m_panelVisible = true;
    Q_EMIT softwareInputPanelVisibilityChanged(true);
}

void MInputMethodState::closeSoftwareInputPanel()
{
    if (!m_panelVisible)
        return;
    m_panelVisible = false;
    Q_EMIT softwareInputPanelVisibilityChanged(false);
}
