// What went wrong with a journal, as a value that travels from where it
// happened to where the player is told: the words are chosen there (the
// command line, the page), from the kind of fault and its particulars.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace tg::journal {

struct Fault {
    enum class Kind {
        Unreadable,  // the journal cannot be read (the system's reason)
        Damaged,     // it is not a journal this game reads (why, and where)
        Strays,      // the game does not play back as recorded (where, and what)
        Over,        // the game has ended: it can be replayed, not continued
        InUse,       // it is being played in another window
        Unwritable,  // a journal (or a file) cannot be made or written (which, and the reason)
        NotFound,    // no journal where one was asked for (why)
    };
    Kind kind;
    std::string detail;
};

// A value, or the fault that kept it from being had.
template <class T>
class Result {
public:
    Result(T value) : outcome_(std::move(value)) {}
    Result(Fault fault) : outcome_(std::move(fault)) {}

    explicit operator bool() const { return outcome_.index() == 0; }
    T& operator*() { return std::get<0>(outcome_); }
    const T& operator*() const { return std::get<0>(outcome_); }
    T* operator->() { return &std::get<0>(outcome_); }
    const T* operator->() const { return &std::get<0>(outcome_); }
    const Fault& Error() const { return std::get<1>(outcome_); }

private:
    std::variant<T, Fault> outcome_;
};

}  // namespace tg::journal
