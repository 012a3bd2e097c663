#pragma once
// A number that names one version of something that otherwise only grows
// (the GA's fitness history): while the number stays, what it names has
// only been added to. Every number is new in the whole process, and a copy
// takes a new one, so two objects never share a number even after copying.
#include <cstdint>

class UniqueRevision {
public:
    UniqueRevision() : value_(Next()) {}
    UniqueRevision(const UniqueRevision&) : value_(Next()) {}
    UniqueRevision& operator=(const UniqueRevision&)
    {
        value_ = Next();
        return *this;
    }
    ~UniqueRevision() = default;

    // What it names was cleared or replaced.
    void Renew() { value_ = Next(); }
    uint64_t Value() const { return value_; }

private:
    static uint64_t Next();
    uint64_t value_;
};
