// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: BSD-3-Clause
#include "accessibletree.h"

#include <QAccessible>
#include <QMetaEnum>
#include <QWidget>

namespace {

// A broken interface that lists an ancestor among its children must not
// hang the demo.
const int MaximumDepth = 64;
const int MaximumNodes = 5000;

QString quoted(const QString& text)
{
    QString flat = text;
    flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QLatin1Char('"') + flat + QLatin1Char('"');
}

QString roleName(QAccessible::Role role)
{
    const char* key = QMetaEnum::fromType<QAccessible::Role>().valueToKey(role);
    return key ? QString::fromLatin1(key) : QStringLiteral("Role%1").arg(int(role));
}

// QAccessible::State is a struct of bit fields, without names to look up.
QStringList setStates(const QAccessible::State& state)
{
    const std::pair<bool, const char*> states[] = {
        {state.active, "active"},       {state.focusable, "focusable"},   {state.focused, "focused"},
        {state.checkable, "checkable"}, {state.checked, "checked"},       {state.pressed, "pressed"},
        {state.disabled, "disabled"},   {state.modal, "modal"},           {state.busy, "busy"},
        {state.editable, "editable"},   {state.readOnly, "readOnly"},     {state.passwordEdit, "passwordEdit"},
        {state.selected, "selected"},   {state.selectable, "selectable"}, {state.expanded, "expanded"},
        {state.offscreen, "offscreen"},
    };
    QStringList names;
    for (const auto& [set, name] : states) {
        if (set)
            names.append(QString::fromLatin1(name));
    }
    return names;
}

void walk(QAccessibleInterface* node, int depth, QString& out, int& nodes)
{
    if (!node || !node->isValid() || node->state().invisible || depth > MaximumDepth || ++nodes > MaximumNodes)
        return;
    QStringList parts{roleName(node->role()), quoted(node->text(QAccessible::Name))};
    const QString description = node->text(QAccessible::Description);
    if (!description.isEmpty())
        parts.append(QStringLiteral("description=") + quoted(description));
    QString value = node->text(QAccessible::Value);
    // A field's text is read through its text interface; a hidden one stays hidden.
    if (value.isEmpty() && node->textInterface() && !node->state().passwordEdit)
        value = node->textInterface()->text(0, node->textInterface()->characterCount());
    if (!value.isEmpty())
        parts.append(QStringLiteral("value=") + quoted(value));
    const QStringList states = setStates(node->state());
    if (!states.isEmpty())
        parts.append(QLatin1Char('[') + states.join(QLatin1Char(' ')) + QLatin1Char(']'));
    out += QString(depth * 2, QLatin1Char(' ')) + parts.join(QLatin1Char(' ')) + QLatin1Char('\n');
    for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i), depth + 1, out, nodes);
}

} // namespace

QString accessibleTree(const QList<QWidget*>& windows)
{
    QString out;
    int nodes = 0;
    for (QWidget* window : windows) {
        if (window && window->isVisible())
            walk(QAccessible::queryAccessibleInterface(window), 0, out, nodes);
    }
    return out;
}
