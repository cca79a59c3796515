#pragma once

#include "comm/IFeedback.h"

#include <QIcon>
#include <QString>

// What the nodes of a fixture's content tree share: the texts of their refusals and how
// they report them, and their icons.
namespace LumoTree {

inline constexpr const char* kReadOnly = "Items in this folder can't be modified";
inline constexpr const char* kConflict = "New name and/or address conflicts with an existing child";
inline constexpr const char* kFolderOutOfRange = "Address is out of range";
inline constexpr const char* kContentOutOfRange = "Content address is out of range";
inline constexpr const char* kWrongType = "Folder can't store content of this type";
inline constexpr const char* kNoSpace = "No space left in folder group for additional content";
inline constexpr const char* kGroupMove = "Moves to folder groups not permitted";
inline constexpr const char* kFolderMove = "Only content objects can be moved into this folder";
inline constexpr const char* kOtherFixtureMove =
    "Only content of the same fixture can be moved into this folder";
inline constexpr const char* kRenameItemsOnly = "Only content items can be renamed in this folder";

// Reports the refusal as an error line on the caller's feedback (if any); always false.
inline bool Refuse(IFeedback* feedback, const char* text) {
    if (feedback) {
        feedback->AddString(QString::fromLatin1(text), FeedbackStatusError);
    }
    return false;
}

// The small and the large icon of a node, as "<stem>-16.png" and "<stem>.png".
inline QIcon IconPair(const QString& stem) {
    QIcon icon;
    icon.addFile(stem + QStringLiteral("-16.png"));
    icon.addFile(stem + QStringLiteral(".png"));
    return icon;
}

}  // namespace LumoTree
