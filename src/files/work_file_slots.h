#pragma once
// Fixed storage for the names of the file layer's live work files, which a signal handler
// (POSIX) or a console handler (Windows, on a thread of its own) reads to remove them: a
// slot's name is complete whenever its state is Ready. A run has at most two new files
// at a time; a name that finds no slot (or is too long) is simply not removed.

#include <atomic>
#include <cstddef>
#include <string_view>

namespace qb::detail {

template <class Char, std::size_t MaxName>
class WorkFileSlots {
public:
    static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the states");

    // Keeps name for the handler; the slot's number, or -1.
    int Keep(std::basic_string_view<Char> name) noexcept {
        if (name.size() >= MaxName) {
            return -1;
        }
        for (int i = 0; i < kCount; ++i) {
            int expected = Free;
            if (slots_[i].state.compare_exchange_strong(expected, Filling)) {
                Char* out = slots_[i].name;
                for (const Char c : name) {
                    *out++ = c;
                }
                *out = Char{};
                slots_[i].state.store(Ready);
                return i;
            }
        }
        return -1;
    }

    void Forget(int& slot) noexcept {
        if (slot >= 0) {
            slots_[slot].state.store(Free);
            slot = -1;
        }
    }

    // Calls remove(name) for every name kept; safe in a signal handler when remove is.
    template <class Remove>
    void ForEachKept(Remove remove) noexcept {
        for (Slot& slot : slots_) {
            if (slot.state.load() == Ready) {
                remove(static_cast<const Char*>(slot.name));
            }
        }
    }

private:
    enum State : int { Free, Filling, Ready };
    // Zeroed at constant initialisation, before any handler can run; a name is read only
    // once its state is Ready.
    struct Slot {
        std::atomic<int> state{Free};
        Char name[MaxName]{};
    };
    static constexpr int kCount = 8;
    Slot slots_[kCount];
};

}  // namespace qb::detail
