// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MNAMESPACE_H
#define MNAMESPACE_H

#include <QFlags>
#include <QMetaType>

// Enumerations shared by the toolkit's classes.
namespace M {

enum Orientation { Landscape, Portrait };

// What a text field is for; the virtual keyboard adapts to it.
enum TextContentType {
    FreeTextContentType = 0,
    NumberContentType = 1,
    PhoneNumberContentType = 2,
    EmailContentType = 3,
    UrlContentType = 4,
    CustomContentType = 5
};

// Standard dialog buttons, numbered as Qt numbers its standard buttons.
enum StandardButton {
    NoStandardButton = 0,
    OkButton = 0x00000400,
    SaveButton = 0x00000800,
    OpenButton = 0x00002000,
    YesButton = 0x00004000,
    NoButton = 0x00010000,
    AbortButton = 0x00040000,
    RetryButton = 0x00080000,
    IgnoreButton = 0x00100000,
    CloseButton = 0x00200000,
    CancelButton = 0x00400000,
    DiscardButton = 0x00800000,
    HelpButton = 0x01000000,
    ApplyButton = 0x02000000,
    ResetButton = 0x04000000
};
Q_DECLARE_FLAGS(StandardButtons, StandardButton)

// Where a widget stands in a row or column of a layout, for widgets drawn
// as one piece (button groups).
enum Position {
    DefaultPosition,
    HorizontalLeftPosition,
    HorizontalCenterPosition,
    HorizontalRightPosition,
    VerticalTopPosition,
    VerticalCenterPosition,
    VerticalBottomPosition
};

} // namespace M

Q_DECLARE_OPERATORS_FOR_FLAGS(M::StandardButtons)
Q_DECLARE_METATYPE(M::Orientation)
Q_DECLARE_METATYPE(M::StandardButton)

#endif
