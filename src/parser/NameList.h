#pragma once

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace parser {

// A sorted list of upper-case names, each with one value (a variable's storage cell, a function's routine).
// Names are compared byte by byte, which is enough because the compiler upper-cases the expression first.
template <class T>
class NameList {
public:
    enum class Duplicates { Ignore, Refuse };

    explicit NameList(Duplicates duplicates) : duplicates_(duplicates) {}

    // Ignore keeps the first entry of a name; Refuse raises std::invalid_argument.
    void Add(const std::string& name, T value)
    {
        auto at = lowerBound(name);
        if (at != entries_.end() && at->first == name) {
            if (duplicates_ == Duplicates::Refuse)
                throw std::invalid_argument("Duplicates not allowed: " + name);
            return;
        }
        entries_.emplace(at, name, std::move(value));
        plain_ = plain_ && isPlain(name);
        longest_ = std::max(longest_, name.size());
    }

    // The length of the longest name: longer texts need no look-up.
    std::size_t LongestName() const { return longest_; }

    // True when every name consists of upper-case letters and digits and holds neither DIV nor MOD, so that no
    // name can be mistaken for part of an operator.
    bool AllNamesPlain() const { return plain_; }

    // The value of the name, or nullptr.
    const T* Find(std::string_view name) const
    {
        if (name.size() > longest_)
            return nullptr;
        auto at = lowerBound(name);
        if (at != entries_.end() && at->first == name)
            return &at->second;
        return nullptr;
    }

    bool Contains(const T& value) const
    {
        return std::any_of(entries_.begin(), entries_.end(), [&](const auto& e) { return e.second == value; });
    }

    void Clear()
    {
        entries_.clear();
        plain_ = true;
        longest_ = 0;
    }
    std::size_t Count() const { return entries_.size(); }
    const std::string& Name(std::size_t i) const { return entries_[i].first; }
    const T& Value(std::size_t i) const { return entries_[i].second; }

private:
    static bool isPlain(std::string_view name)
    {
        for (char c : name)
            if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
                return false;
        return name.find("DIV") == std::string_view::npos && name.find("MOD") == std::string_view::npos;
    }

    using Entries = std::vector<std::pair<std::string, T>>;

    typename Entries::const_iterator lowerBound(std::string_view name) const
    {
        return std::lower_bound(entries_.begin(), entries_.end(), name,
                                [](const auto& e, std::string_view n) { return std::string_view(e.first) < n; });
    }
    typename Entries::iterator lowerBound(std::string_view name)
    {
        return std::lower_bound(entries_.begin(), entries_.end(), name,
                                [](const auto& e, std::string_view n) { return std::string_view(e.first) < n; });
    }

    Duplicates duplicates_;
    Entries entries_;
    bool plain_ = true;
    std::size_t longest_ = 0;
};

}  // namespace parser
