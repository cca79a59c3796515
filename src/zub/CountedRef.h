#pragma once

#include <atomic>
#include <utility>

namespace zub {

// Intrusive reference count. An object derived from counter is deleted when the last
// counted_ref to it is released; the count changes atomically, so references may be
// taken and dropped on any thread.
class counter {
public:
    counter() = default;
    counter(const counter&) = delete;
    counter& operator=(const counter&) = delete;

    void AddRef() const { m_refs.fetch_add(1, std::memory_order_relaxed); }
    // Drops one reference; true when it was the last, and the holder then deletes the object.
    bool ReleaseRef() const { return m_refs.fetch_sub(1, std::memory_order_acq_rel) == 1; }
    long RefCount() const { return m_refs.load(std::memory_order_acquire); }

protected:
    virtual ~counter() = default;

private:
    mutable std::atomic<long> m_refs{0};
};

template <class T>
class counted_ref {
public:
    counted_ref() = default;
    counted_ref(T* object) : m_object(object) {  // NOLINT: implicit by design, like a pointer
        if (m_object) {
            m_object->AddRef();
        }
    }
    counted_ref(const counted_ref& other) : counted_ref(other.m_object) {}
    counted_ref(counted_ref&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    template <class U>
    counted_ref(const counted_ref<U>& other) : counted_ref(other.get()) {}
    ~counted_ref() { reset(); }

    counted_ref& operator=(counted_ref other) noexcept {
        std::swap(m_object, other.m_object);
        return *this;
    }

    void reset() {
        T* object = std::exchange(m_object, nullptr);
        if (object && object->ReleaseRef()) {
            delete object;
        }
    }

    T* get() const { return m_object; }
    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    explicit operator bool() const { return m_object != nullptr; }

    friend bool operator==(const counted_ref& a, const counted_ref& b) {
        return a.m_object == b.m_object;
    }

private:
    T* m_object = nullptr;
};

}  // namespace zub
