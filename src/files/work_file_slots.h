#pragma once
// Fixed storage for the names of the file layer's live work files, which a signal handler
// (POSIX) or a console handler (Windows, on a thread of its own) reads to remove them: a
// slot's name is complete whenever its state is Ready. A run has at most a few slots at a
// time; a name that finds no slot (or is too long) is simply not removed.
//
// A slot holds one work file, or a family: the files "<name>-1" ... "<name>-<count>",
// however many there are (one per part of a split import file). The handler builds each
// member's name in a fixed buffer of its own, so it allocates nothing.

#include <atomic>
#include <cstddef>
#include <string_view>

namespace qb::detail {

template <class Char, std::size_t MaxName>
class WorkFileSlots {
public:
    static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the states");

    // Keeps name for the handler; the slot's number, or -1.
    int Keep(std::basic_string_view<Char> name) noexcept { return Take(name, kOneFile); }

    // Keeps the family "<name>-1" ..., with no member yet; the slot's number, or -1.
    int KeepFamily(std::basic_string_view<Char> name) noexcept { return Take(name, 0); }

    // Counts one more member of a family slot, before that file is made.
    void AddMember(int slot) noexcept {
        if (slot >= 0) {
            slots_[slot].members.fetch_add(1);
        }
    }

    void Forget(int& slot) noexcept {
        if (slot >= 0) {
            slots_[slot].state.store(Free);
            slot = -1;
        }
    }

    // Calls remove(name) for every name kept, each member of a family included; safe in a
    // signal handler when remove is.
    template <class Remove>
    void ForEachKept(Remove remove) noexcept {
        for (Slot& slot : slots_) {
            if (slot.state.load() != Ready) {
                continue;
            }
            const int members = slot.members.load();
            if (members == kOneFile) {
                remove(static_cast<const Char*>(slot.name));
                continue;
            }
            Char member[MaxName + kSuffix]{};
            std::size_t length = 0;
            while (slot.name[length] != Char{}) {
                member[length] = slot.name[length];
                ++length;
            }
            member[length] = Char{'-'};
            for (int n = 1; n <= members; ++n) {
                WriteNumber(member + length + 1, n);
                remove(static_cast<const Char*>(member));
            }
        }
    }

private:
    enum State : int { Free, Filling, Ready };
    static constexpr int kOneFile = -1;         // members of a slot that holds one file
    static constexpr std::size_t kSuffix = 16;  // "-", up to ten digits and the end

    // Zeroed at constant initialisation, before any handler can run; a name is read only
    // once its state is Ready.
    struct Slot {
        std::atomic<int> state{Free};
        std::atomic<int> members{kOneFile};
        Char name[MaxName]{};
    };
    static constexpr int kCount = 8;

    int Take(std::basic_string_view<Char> name, int members) noexcept {
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
                slots_[i].members.store(members);
                slots_[i].state.store(Ready);
                return i;
            }
        }
        return -1;
    }

    // n in decimal digits at out, then the end of the name.
    static void WriteNumber(Char* out, int n) noexcept {
        Char digits[kSuffix]{};
        int count = 0;
        do {
            digits[count++] = static_cast<Char>('0' + n % 10);
            n /= 10;
        } while (n > 0);
        while (count > 0) {
            *out++ = digits[--count];
        }
        *out = Char{};
    }

    Slot slots_[kCount];
};

}  // namespace qb::detail
