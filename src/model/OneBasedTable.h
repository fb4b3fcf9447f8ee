#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavrin {

// A table numbered 1..Count(), as the student numbers nodes, elements,
// supports and loads in the grid. Numbers typed by the user are positions in
// these tables, so every lookup goes through Has()/at(): an unknown number is
// an outcome the caller decides on (skip, message), never a stray read.
template <class Record>
class OneBasedTable {
public:
    std::int16_t Count() const { return static_cast<std::int16_t>(m_rows.size()); }
    bool Empty() const { return m_rows.empty(); }
    bool Has(long number) const { return number >= 1 && number <= static_cast<long>(m_rows.size()); }

    // Throws std::out_of_range for a number outside 1..Count().
    Record& at(long number) { return m_rows.at(Index(number)); }
    const Record& at(long number) const { return m_rows.at(Index(number)); }

    // nullptr for a number outside 1..Count().
    Record* Find(long number) { return Has(number) ? &m_rows[static_cast<std::size_t>(number - 1)] : nullptr; }
    const Record* Find(long number) const
    {
        return Has(number) ? &m_rows[static_cast<std::size_t>(number - 1)] : nullptr;
    }

    void Clear() { m_rows.clear(); }
    // Re-creates the table with `count` default records, old contents discarded.
    void Recreate(std::size_t count) { m_rows.assign(count, Record{}); }
    void Append(Record row) { m_rows.push_back(std::move(row)); }

    auto begin() { return m_rows.begin(); }
    auto end() { return m_rows.end(); }
    auto begin() const { return m_rows.begin(); }
    auto end() const { return m_rows.end(); }

    bool operator==(const OneBasedTable&) const = default;

private:
    static std::size_t Index(long number)
    {
        if (number < 1)
            throw std::out_of_range("table number " + std::to_string(number) + " below 1");
        return static_cast<std::size_t>(number - 1);
    }

    std::vector<Record> m_rows;
};

}  // namespace tavrin
