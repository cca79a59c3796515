#pragma once

#include "content/ContentFolder.h"
#include "content/ContentType.h"
#include "content/PolicyBase.h"

#include <QString>

#include <algorithm>
#include <climits>

// Rule parts that policies are built from. A part answers the address and uniqueness
// questions of PolicyBase without virtual calls; Combine joins two parts and ContentPolicy
// gives a part the PolicyBase interface.

// The answers of a part that has no rule of its own.
struct PolicyRule {
    int MinAddress(const ContentFolder* /*folder*/) const { return 0; }
    int MaxAddress(const ContentFolder* /*folder*/) const { return 255; }
    int FirstFreeAddress(const ContentFolder* folder) const { return folder->NextFreeAddress(0); }
    bool HasConflict(const ContentFolder* /*folder*/, const ContentBase* /*exclude*/,
                     const QString& /*name*/, int /*address*/) const {
        return false;
    }
    bool MakeUnique(const ContentFolder* /*folder*/, const ContentBase* /*exclude*/,
                    QString* /*name*/, int* /*address*/) const {
        return false;
    }
    bool CanConvertContent(const ContentFolder* /*folder*/, const ContentType& /*type*/) const {
        return true;
    }
    bool ChildrenReadOnly(const ContentFolder* /*folder*/) const { return false; }
    bool ViewOnly(const ContentFolder* /*folder*/) const { return false; }
    bool IsReadOnly(const ContentFolder* /*folder*/) const { return false; }
};

using NullPolicy = PolicyRule;

template <int On>
struct ReadOnlyPolicy : PolicyRule {
    bool IsReadOnly(const ContentFolder* /*folder*/) const { return On != 0; }
};

template <int On>
struct ChildrenReadOnlyPolicy : PolicyRule {
    bool ChildrenReadOnly(const ContentFolder* /*folder*/) const { return On != 0; }
};

template <int On>
struct ViewOnlyPolicy : PolicyRule {
    bool ViewOnly(const ContentFolder* /*folder*/) const { return On != 0; }
};

namespace PolicyWalk {

// Raises *address by one for each child but `exclude` that holds it, starting the walk again
// after every raise, until a whole walk finds no equal address. True when it changed.
inline bool RaiseAddress(const ContentFolder* folder, const ContentBase* exclude, int* address) {
    const int requested = *address;
    for (int i = 0, count = folder->ChildCount(); i < count && *address < INT_MAX;) {
        const ContentBase* child = folder->Child(i);
        if (child != exclude && child->Address() == *address) {
            ++*address;
            i = 0;
        } else {
            ++i;
        }
    }
    return *address != requested;
}

}  // namespace PolicyWalk

// Addresses within Min..Max; a non-zero address may be held by one child only.
template <int Min, int Max>
struct UniqueDMXChannelPolicy : PolicyRule {
    int MinAddress(const ContentFolder* /*folder*/) const { return Min; }
    int MaxAddress(const ContentFolder* /*folder*/) const { return Max; }

    bool HasConflict(const ContentFolder* folder, const ContentBase* exclude,
                     const QString& /*name*/, int address) const {
        if (address == 0) {
            return false;
        }
        for (int i = 0, count = folder->ChildCount(); i < count; ++i) {
            const ContentBase* child = folder->Child(i);
            if (child != exclude && child->Address() == address) {
                return true;
            }
        }
        return false;
    }

    // Moves a clashing address up to the next free one; not clamped to Max (callers check).
    bool MakeUnique(const ContentFolder* folder, const ContentBase* exclude, QString* /*name*/,
                    int* address) const {
        return *address != 0 && PolicyWalk::RaiseAddress(folder, exclude, address);
    }
};

// A name may be held by one child only (compared with case).
struct UniqueFilenamePolicy : PolicyRule {
    // Names made unique here are cut so that they and their suffix fit this many characters.
    static constexpr int kUniqueNameLength = 14;

    bool HasConflict(const ContentFolder* folder, const ContentBase* exclude, const QString& name,
                     int /*address*/) const {
        for (int i = 0, count = folder->ChildCount(); i < count; ++i) {
            const ContentBase* child = folder->Child(i);
            if (child != exclude && child->Name() == name) {
                return true;
            }
        }
        return false;
    }

    // The name first ("Clip" -> "Clip (2)", cut to 14 characters), then the address, each by
    // walking the children again after every change.
    bool MakeUnique(const ContentFolder* folder, const ContentBase* exclude, QString* name,
                    int* address) const {
        const QString requested = *name;
        int counter = 1;
        for (int i = 0, count = folder->ChildCount(); i < count;) {
            const ContentBase* child = folder->Child(i);
            if (child != exclude && child->Name() == *name) {
                ++counter;
                const QString suffix = QStringLiteral(" (%1)").arg(counter);
                *name = requested.left(kUniqueNameLength - int(suffix.size())) + suffix;
                i = 0;
            } else {
                ++i;
            }
        }
        const bool addressChanged = PolicyWalk::RaiseAddress(folder, exclude, address);
        return *name != requested || addressChanged;
    }
};

// Joins two parts. B is asked first where the order matters: MakeUnique asks A only when B
// changed nothing, and FirstFreeAddress takes B's answer when it is above 0.
template <class A, class B>
struct Combine {
    int MinAddress(const ContentFolder* folder) const {
        return std::max(a.MinAddress(folder), b.MinAddress(folder));
    }
    int MaxAddress(const ContentFolder* folder) const {
        return std::min(a.MaxAddress(folder), b.MaxAddress(folder));
    }
    int FirstFreeAddress(const ContentFolder* folder) const {
        const int free = b.FirstFreeAddress(folder);
        return free > 0 ? free : a.FirstFreeAddress(folder);
    }
    bool HasConflict(const ContentFolder* folder, const ContentBase* exclude, const QString& name,
                     int address) const {
        return b.HasConflict(folder, exclude, name, address) ||
               a.HasConflict(folder, exclude, name, address);
    }
    bool MakeUnique(const ContentFolder* folder, const ContentBase* exclude, QString* name,
                    int* address) const {
        return b.MakeUnique(folder, exclude, name, address) ||
               a.MakeUnique(folder, exclude, name, address);
    }
    bool CanConvertContent(const ContentFolder* folder, const ContentType& type) const {
        return b.CanConvertContent(folder, type) && a.CanConvertContent(folder, type);
    }
    bool ChildrenReadOnly(const ContentFolder* folder) const {
        return b.ChildrenReadOnly(folder) || a.ChildrenReadOnly(folder);
    }
    bool ViewOnly(const ContentFolder* folder) const {
        return b.ViewOnly(folder) || a.ViewOnly(folder);
    }
    bool IsReadOnly(const ContentFolder* folder) const {
        return b.IsReadOnly(folder) || a.IsReadOnly(folder);
    }

    A a;
    B b;
};

// A rule part with the PolicyBase interface. Instance() is the shared unnamed instance;
// named policies derive and register under their class name.
template <class Rules>
class ContentPolicy : public PolicyBase {
public:
    explicit ContentPolicy(const char* className = nullptr) : PolicyBase(className) {}

    static const ContentPolicy& Instance() {
        static const ContentPolicy policy;
        return policy;
    }

    int MinAddress(const ContentFolder* folder) const override {
        return m_rules.MinAddress(folder);
    }
    int MaxAddress(const ContentFolder* folder) const override {
        return m_rules.MaxAddress(folder);
    }
    int FirstFreeAddress(const ContentFolder* folder) const override {
        return m_rules.FirstFreeAddress(folder);
    }
    bool HasConflict(const ContentFolder* folder, const ContentBase* exclude, const QString& name,
                     int address) const override {
        return m_rules.HasConflict(folder, exclude, name, address);
    }
    bool MakeUnique(const ContentFolder* folder, const ContentBase* exclude, QString* name,
                    int* address) const override {
        return m_rules.MakeUnique(folder, exclude, name, address);
    }
    bool CanConvertContent(const ContentFolder* folder, const ContentType& type) const override {
        return AcceptsOwnType(type) && m_rules.CanConvertContent(folder, type);
    }
    bool ChildrenReadOnly(const ContentFolder* folder) const override {
        return m_rules.ChildrenReadOnly(folder);
    }
    bool ViewOnly(const ContentFolder* folder) const override { return m_rules.ViewOnly(folder); }
    bool IsReadOnly(const ContentFolder* folder) const override {
        return m_rules.IsReadOnly(folder);
    }

private:
    Rules m_rules;
};
