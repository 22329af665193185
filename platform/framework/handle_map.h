// Which C++ object stands for a Win32 handle. A permanent entry is an object the program owns
// and attached itself (a subclassed window, a created brush); FromHandle returns it. For any
// other handle FromHandle makes a temporary wrapper that the map owns: it lives until the
// outermost message loop next goes idle, or until DeleteTemporaries, and never frees the
// handle it wraps. A temporary is made per wrapper type, so a scroll bar asked for as a
// CScrollBar and as a CWnd gets one object of each type.
#pragma once

#include <map>
#include <memory>
#include <typeindex>
#include <unordered_map>
#include <utility>

template <class Handle, class Object, Handle Object::*HandleMember>
class HandleMap {
public:
    HandleMap() = default;
    HandleMap(const HandleMap&) = delete;
    HandleMap& operator=(const HandleMap&) = delete;
    ~HandleMap() { DeleteTemporaries(); }

    Object* FindPermanent(Handle handle) const {
        const auto found = m_permanent.find(handle);
        return found == m_permanent.end() ? nullptr : found->second;
    }

    // False when the handle already stands for another object.
    bool AddPermanent(Handle handle, Object* object) {
        return m_permanent.emplace(handle, object).second;
    }

    void RemovePermanent(Handle handle, const Object* object) {
        const auto found = m_permanent.find(handle);
        if (found != m_permanent.end() && found->second == object) {
            m_permanent.erase(found);
        }
    }

    // Makes handle object's own: false when object already holds one or the handle stands for
    // another object.
    bool Attach(Object* object, Handle handle) {
        if (handle == Handle{} || object->*HandleMember != Handle{} ||
            !AddPermanent(handle, object)) {
            return false;
        }
        object->*HandleMember = handle;
        return true;
    }

    // Lets object's handle go without freeing it, and returns it.
    Handle Detach(Object* object) {
        const Handle handle = object->*HandleMember;
        if (handle != Handle{}) {
            RemovePermanent(handle, object);
        }
        object->*HandleMember = Handle{};
        return handle;
    }

    bool IsPermanent(const Object* object) const {
        const auto found = m_permanent.find(object->*HandleMember);
        return found != m_permanent.end() && found->second == object;
    }

    template <class Wrapper>
    Wrapper* FromHandle(Handle handle) {
        if (handle == Handle{}) {
            return nullptr;
        }
        if (auto* typed = dynamic_cast<Wrapper*>(FindPermanent(handle))) {
            return typed;
        }
        auto& slot = m_temporary[{handle, std::type_index(typeid(Wrapper))}];
        if (!slot) {
            auto wrapper = std::make_unique<Wrapper>();
            wrapper.get()->*HandleMember = handle;
            slot = std::move(wrapper);
        }
        return static_cast<Wrapper*>(slot.get());
    }

    void DeleteTemporaries() {
        // The wrapper lets go of the handle first, so its destructor frees nothing.
        auto temporaries = std::move(m_temporary);
        m_temporary.clear();
        for (auto& [key, owned] : temporaries) {
            owned.get()->*HandleMember = Handle{};
        }
    }

private:
    std::unordered_map<Handle, Object*> m_permanent;
    std::map<std::pair<Handle, std::type_index>, std::unique_ptr<Object>> m_temporary;
};
