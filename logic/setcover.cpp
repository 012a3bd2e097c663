#include "setcover.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

using Word = uint64_t;

bool Test(const std::vector<Word>& bits, int32_t k) { return (bits[static_cast<std::size_t>(k) >> 6] >> (k & 63)) & 1; }
void Reset(std::vector<Word>& bits, int32_t k) { bits[static_cast<std::size_t>(k) >> 6] &= ~(Word{1} << (k & 63)); }
void Set(std::vector<Word>& bits, int32_t k) { bits[static_cast<std::size_t>(k) >> 6] |= Word{1} << (k & 63); }

template <typename F>
void ForEachBit(const std::vector<Word>& bits, F&& f)
{
    for (std::size_t w = 0; w < bits.size(); ++w) {
        Word word = bits[w];
        while (word) {
            const int b = __builtin_ctzll(word);
            word &= word - 1;
            f(static_cast<int32_t>(w * 64 + static_cast<std::size_t>(b)));
        }
    }
}

bool Any(const std::vector<Word>& bits)
{
    return std::any_of(bits.begin(), bits.end(), [](Word w) { return w != 0; });
}

// What is left of the problem at one search node.
struct Node {
    std::vector<Word> rows;    // rows still to cover
    std::vector<Word> columns; // columns still allowed
    std::vector<int32_t> chosen;
};

class CoverSolver {
public:
    CoverSolver(int32_t rowCount, const std::vector<std::vector<int32_t>>& columnRows, const CoverLimits& limits)
        : rowCount_(rowCount),
          columnCount_(static_cast<int32_t>(columnRows.size())),
          rowWords_((static_cast<std::size_t>(rowCount) + 63) / 64),
          limits_(limits),
          rowColumns_(static_cast<std::size_t>(rowCount)),
          columnBits_(columnRows.size() * rowWords_, 0)
    {
        for (int32_t c = 0; c < columnCount_; ++c) {
            for (int32_t r : columnRows[static_cast<std::size_t>(c)]) {
                Word& word = columnBits_[static_cast<std::size_t>(c) * rowWords_ + (static_cast<std::size_t>(r) >> 6)];
                const Word bit = Word{1} << (r & 63);
                if (!(word & bit))
                    rowColumns_[static_cast<std::size_t>(r)].push_back(c);
                word |= bit;
            }
        }
    }

    CoverResult Solve()
    {
        CoverResult result;
        Node root;
        root.rows.assign(rowWords_, 0);
        for (int32_t r = 0; r < rowCount_; ++r)
            Set(root.rows, r);
        root.columns.assign((static_cast<std::size_t>(columnCount_) + 63) / 64, 0);
        for (int32_t c = 0; c < columnCount_; ++c)
            Set(root.columns, c);

        if (!Reduce(root)) {
            result.feasible = false;
            return result;
        }
        result.columns = root.chosen;
        int32_t lowerBound = static_cast<int32_t>(root.chosen.size());
        for (Node& block : SplitBlocks(root)) {
            std::vector<double> multipliers = IndependentRowMultipliers(block);
            best_ = Greedy(block);
            DropRedundant(block, best_, std::vector<double>(static_cast<std::size_t>(columnCount_), 0.0));
            const double relaxed = Subgradient(block, multipliers, RootIterations, RootPatience, RootHeuristicEvery);
            const int32_t blockBound = std::max(IndependentRows(block), Ceil(relaxed));
            if (blockBound < static_cast<int32_t>(best_.size()))
                Search(block, multipliers, 0);
            const bool proven = !stopped_ || static_cast<int32_t>(best_.size()) == blockBound;
            lowerBound += proven ? static_cast<int32_t>(best_.size()) : blockBound;
            result.columns.insert(result.columns.end(), best_.begin(), best_.end());
        }
        result.lowerBound = lowerBound;
        result.nodes = nodes_;
        return result;
    }

private:
    const Word* ColumnRows(int32_t c) const { return &columnBits_[static_cast<std::size_t>(c) * rowWords_]; }

    // Rows of `node` that column c covers.
    int32_t CoveredCount(const Node& node, int32_t c) const
    {
        const Word* bits = ColumnRows(c);
        int32_t count = 0;
        for (std::size_t w = 0; w < rowWords_; ++w)
            count += __builtin_popcountll(bits[w] & node.rows[w]);
        return count;
    }

    void Choose(Node& node, int32_t c) const
    {
        const Word* bits = ColumnRows(c);
        for (std::size_t w = 0; w < rowWords_; ++w)
            node.rows[w] &= ~bits[w];
        Reset(node.columns, c);
        node.chosen.push_back(c);
    }

    std::vector<int32_t> ActiveColumns(const Node& node, int32_t r) const
    {
        std::vector<int32_t> columns;
        for (int32_t c : rowColumns_[static_cast<std::size_t>(r)])
            if (Test(node.columns, c))
                columns.push_back(c);
        return columns;
    }

    // Applies the reductions until none applies. False when a row can no
    // longer be covered.
    bool Reduce(Node& node) const
    {
        bool changed = true;
        while (changed) {
            changed = false;
            // Essential columns: the only column left for some row.
            bool infeasible = false;
            ForEachBit(node.rows, [&](int32_t r) {
                if (infeasible || !Test(node.rows, r))
                    return;
                int32_t count = 0, only = -1;
                for (int32_t c : rowColumns_[static_cast<std::size_t>(r)])
                    if (Test(node.columns, c) && ++count == 1)
                        only = c;
                if (count == 0)
                    infeasible = true;
                else if (count == 1) {
                    Choose(node, only);
                    changed = true;
                }
            });
            if (infeasible)
                return false;

            // Dominated rows: a row whose columns all cover another row b is
            // covered whenever that smaller choice is made, so b can go.
            std::vector<Word> dominated(rowWords_);
            ForEachBit(node.rows, [&](int32_t r) {
                if (!Test(node.rows, r))
                    return;
                std::vector<Word> common = node.rows;
                for (int32_t c : rowColumns_[static_cast<std::size_t>(r)]) {
                    if (!Test(node.columns, c))
                        continue;
                    const Word* bits = ColumnRows(c);
                    for (std::size_t w = 0; w < rowWords_; ++w)
                        common[w] &= bits[w];
                }
                Reset(common, r);
                for (std::size_t w = 0; w < rowWords_; ++w) {
                    if (common[w]) {
                        node.rows[w] &= ~common[w];
                        changed = true;
                    }
                }
            });

            // Dominated columns: a column whose remaining rows another column
            // also covers is never needed (of two equal ones, keep the first).
            ForEachBit(node.columns, [&](int32_t c) {
                const Word* bits = ColumnRows(c);
                int32_t pivot = -1;
                for (std::size_t w = 0; w < rowWords_ && pivot < 0; ++w)
                    if (bits[w] & node.rows[w])
                        pivot = static_cast<int32_t>(w * 64) + __builtin_ctzll(bits[w] & node.rows[w]);
                if (pivot < 0) {
                    Reset(node.columns, c);
                    changed = true;
                    return;
                }
                for (int32_t d : rowColumns_[static_cast<std::size_t>(pivot)]) {
                    if (d == c || !Test(node.columns, d))
                        continue;
                    const Word* other = ColumnRows(d);
                    bool subset = true, equal = true;
                    for (std::size_t w = 0; w < rowWords_ && subset; ++w) {
                        const Word mine = bits[w] & node.rows[w];
                        const Word theirs = other[w] & node.rows[w];
                        subset = (mine & ~theirs) == 0;
                        equal = equal && mine == theirs;
                    }
                    if (subset && (!equal || d < c)) {
                        Reset(node.columns, c);
                        changed = true;
                        return;
                    }
                }
            });
        }
        return true;
    }

    // The rows that remain, in groups no column joins: each can be solved alone.
    std::vector<Node> SplitBlocks(const Node& node) const
    {
        std::vector<int32_t> parent(static_cast<std::size_t>(rowCount_));
        std::iota(parent.begin(), parent.end(), 0);
        auto find = [&](int32_t r) {
            while (parent[static_cast<std::size_t>(r)] != r)
                r = parent[static_cast<std::size_t>(r)] = parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(r)])];
            return r;
        };
        ForEachBit(node.columns, [&](int32_t c) {
            int32_t first = -1;
            const Word* bits = ColumnRows(c);
            for (std::size_t w = 0; w < rowWords_; ++w) {
                Word word = bits[w] & node.rows[w];
                while (word) {
                    const int32_t r = static_cast<int32_t>(w * 64) + __builtin_ctzll(word);
                    word &= word - 1;
                    if (first < 0)
                        first = find(r);
                    else
                        parent[static_cast<std::size_t>(find(r))] = first;
                }
            }
        });
        std::vector<Node> blocks;
        std::vector<int32_t> blockOf(static_cast<std::size_t>(rowCount_), -1);
        ForEachBit(node.rows, [&](int32_t r) {
            const int32_t root = find(r);
            int32_t& b = blockOf[static_cast<std::size_t>(root)];
            if (b < 0) {
                b = static_cast<int32_t>(blocks.size());
                blocks.push_back(Node{std::vector<Word>(rowWords_), std::vector<Word>(node.columns.size()), {}});
            }
            Set(blocks[static_cast<std::size_t>(b)].rows, r);
            for (int32_t c : rowColumns_[static_cast<std::size_t>(r)])
                if (Test(node.columns, c))
                    Set(blocks[static_cast<std::size_t>(b)].columns, c);
        });
        std::sort(blocks.begin(), blocks.end(), [](const Node& a, const Node& b) {
            auto count = [](const Node& n) {
                int64_t k = 0;
                for (Word w : n.rows)
                    k += __builtin_popcountll(w);
                return k;
            };
            return count(a) < count(b);
        });
        return blocks;
    }

    // A cover of the node's rows by repeatedly taking the column that covers
    // most of them (with the reductions in between).
    std::vector<int32_t> Greedy(Node node) const
    {
        while (Reduce(node) && Any(node.rows)) {
            int32_t bestColumn = -1, bestCount = 0;
            ForEachBit(node.columns, [&](int32_t c) {
                const int32_t count = CoveredCount(node, c);
                if (count > bestCount) {
                    bestCount = count;
                    bestColumn = c;
                }
            });
            Choose(node, bestColumn);
        }
        return node.chosen;
    }

    // A cover of the node's rows guided by the multipliers' reduced costs:
    // first the columns the relaxation takes (negative reduced cost), then
    // repeatedly the column with the least reduced cost per row it newly
    // covers; finally columns whose rows the others cover are dropped,
    // dearest first. Empty when the rows cannot be covered.
    std::vector<int32_t> LagrangianCover(const Node& node, const std::vector<double>& reduced) const
    {
        std::vector<int32_t> columns;
        ForEachBit(node.columns, [&](int32_t c) { columns.push_back(c); });
        // newRows[c]: rows of the node not yet covered that column c covers.
        std::vector<int32_t> newRows(static_cast<std::size_t>(columnCount_), 0);
        for (int32_t c : columns)
            newRows[static_cast<std::size_t>(c)] = CoveredCount(node, c);
        std::vector<Word> open = node.rows;
        std::vector<int32_t> chosen;
        auto take = [&](int32_t c) {
            chosen.push_back(c);
            const Word* bits = ColumnRows(c);
            for (std::size_t w = 0; w < rowWords_; ++w) {
                Word word = bits[w] & open[w];
                open[w] &= ~word;
                while (word) {
                    const auto r = static_cast<std::size_t>(w * 64 + static_cast<std::size_t>(__builtin_ctzll(word)));
                    word &= word - 1;
                    for (int32_t d : rowColumns_[r])
                        --newRows[static_cast<std::size_t>(d)];
                }
            }
        };
        for (int32_t c : columns)
            if (reduced[static_cast<std::size_t>(c)] < 0.0 && newRows[static_cast<std::size_t>(c)] > 0)
                take(c);
        while (Any(open)) {
            int32_t pick = -1;
            double pickScore = 0.0;
            for (int32_t c : columns) {
                const int32_t count = newRows[static_cast<std::size_t>(c)];
                if (count <= 0)
                    continue;
                const double score = std::max(reduced[static_cast<std::size_t>(c)], 1e-3) / count;
                if (pick < 0 || score < pickScore) {
                    pick = c;
                    pickScore = score;
                }
            }
            if (pick < 0)
                return {};
            take(pick);
        }
        DropRedundant(node, chosen, reduced);
        return chosen;
    }

    // Removes from a cover of the node's rows every column whose rows other
    // chosen columns also cover, trying the dearest (largest reduced cost) first.
    void DropRedundant(const Node& node, std::vector<int32_t>& chosen, const std::vector<double>& reduced) const
    {
        std::vector<int32_t> coverCount(static_cast<std::size_t>(rowCount_), 0);
        auto forRows = [&](int32_t c, auto&& f) {
            const Word* bits = ColumnRows(c);
            for (std::size_t w = 0; w < rowWords_; ++w) {
                Word word = bits[w] & node.rows[w];
                while (word) {
                    f(static_cast<std::size_t>(w * 64 + static_cast<std::size_t>(__builtin_ctzll(word))));
                    word &= word - 1;
                }
            }
        };
        for (int32_t c : chosen)
            forRows(c, [&](std::size_t r) { ++coverCount[r]; });
        std::vector<int32_t> order = chosen;
        std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
            return reduced[static_cast<std::size_t>(a)] > reduced[static_cast<std::size_t>(b)];
        });
        for (int32_t c : order) {
            bool needed = false;
            forRows(c, [&](std::size_t r) { needed = needed || coverCount[r] == 1; });
            if (needed)
                continue;
            forRows(c, [&](std::size_t r) { --coverCount[r]; });
            chosen.erase(std::find(chosen.begin(), chosen.end(), c));
        }
    }

    // Keeps `cover` (for the node's rows) when it beats the best so far.
    void Offer(const Node& node, const std::vector<int32_t>& cover)
    {
        if (cover.empty() && Any(node.rows))
            return;
        if (node.chosen.size() + cover.size() >= best_.size())
            return;
        best_ = node.chosen;
        best_.insert(best_.end(), cover.begin(), cover.end());
    }

    // Rows taken greedily (fewest columns first) such that no two share a
    // column: each needs a column of its own.
    std::vector<int32_t> IndependentRowSet(const Node& node) const
    {
        std::vector<std::pair<int32_t, int32_t>> order; // (columns, row)
        ForEachBit(node.rows, [&](int32_t r) {
            int32_t count = 0;
            for (int32_t c : rowColumns_[static_cast<std::size_t>(r)])
                count += Test(node.columns, c) ? 1 : 0;
            order.emplace_back(count, r);
        });
        std::sort(order.begin(), order.end());
        std::vector<Word> blocked(rowWords_, 0);
        std::vector<int32_t> independent;
        for (const auto& [count, r] : order) {
            if (Test(blocked, r))
                continue;
            independent.push_back(r);
            for (int32_t c : rowColumns_[static_cast<std::size_t>(r)]) {
                if (!Test(node.columns, c))
                    continue;
                const Word* bits = ColumnRows(c);
                for (std::size_t w = 0; w < rowWords_; ++w)
                    blocked[w] |= bits[w];
            }
        }
        return independent;
    }

    int32_t IndependentRows(const Node& node) const { return static_cast<int32_t>(IndependentRowSet(node).size()); }

    bool Stop()
    {
        if (stopped_)
            return true;
        if ((limits_.nodeBudget != 0 && nodes_ >= limits_.nodeBudget) || limits_.Cancelled())
            stopped_ = true;
        else if (limits_.timeLimit.count() > 0 && (nodes_ & 7) == 0 && std::chrono::steady_clock::now() >= deadline_)
            stopped_ = true;
        return stopped_;
    }

    // Looks for a cover of `node` with fewer columns than best_ (which holds
    // the block's best cover so far). `multipliers` start the node's bound
    // where the parent's ended.
    void Search(Node node, std::vector<double> multipliers, int depth)
    {
        if (Stop())
            return;
        ++nodes_;
        if (depth > 0 && !Reduce(node))
            return;
        for (;;) {
            const auto chosen = static_cast<int32_t>(node.chosen.size());
            if (chosen >= static_cast<int32_t>(best_.size()))
                return;
            if (!Any(node.rows)) {
                best_ = node.chosen;
                return;
            }
            if (chosen + IndependentRows(node) >= static_cast<int32_t>(best_.size()))
                return;
            const double relaxed = chosen + Subgradient(node, multipliers, NodeIterations, NodePatience, NodeIterations);
            const auto best = static_cast<int32_t>(best_.size()); // the relaxation's covers may have improved it
            if (Ceil(relaxed) >= best)
                return;
            // Columns whose reduced cost alone lifts the bound to the best
            // cover are left out; columns whose absence would do so are taken.
            bool fixed = false;
            const std::vector<double> reduced = ReducedCosts(node, multipliers);
            ForEachBit(node.columns, [&](int32_t c) {
                const double cost = reduced[static_cast<std::size_t>(c)];
                if (Ceil(relaxed + cost) >= best) {
                    Reset(node.columns, c);
                    fixed = true;
                } else if (Ceil(relaxed - cost) >= best && Test(node.columns, c)) {
                    Choose(node, c);
                    fixed = true;
                }
            });
            if (!fixed)
                break;
            if (!Reduce(node))
                return;
        }

        // Branch on the row with the fewest columns: one of them is in every
        // cover. The most promising (least reduced cost) goes first.
        int32_t row = -1;
        std::vector<int32_t> branches;
        ForEachBit(node.rows, [&](int32_t r) {
            std::vector<int32_t> columns = ActiveColumns(node, r);
            if (row < 0 || columns.size() < branches.size()) {
                row = r;
                branches = std::move(columns);
            }
        });
        const std::vector<double> reduced = ReducedCosts(node, multipliers);
        std::sort(branches.begin(), branches.end(), [&](int32_t a, int32_t b) {
            return reduced[static_cast<std::size_t>(a)] < reduced[static_cast<std::size_t>(b)];
        });
        for (int32_t c : branches) {
            Node child = node;
            Choose(child, c);
            Search(std::move(child), multipliers, depth + 1);
            if (Stop())
                return;
            // Covers with c are done: the next branches leave it out.
            Reset(node.columns, c);
        }
    }

    // --- Lagrangian bound. Relaxing "every row covered" with a multiplier
    // m_r >= 0 per row gives, for any multipliers, the lower bound
    //   sum of m_r over the rows + sum over the columns of min(0, 1 - sum of
    //   m_r over the column's rows),
    // which subgradient steps raise towards the linear-programming bound.

    static int32_t Ceil(double value) { return static_cast<int32_t>(std::ceil(value - 1e-6)); }

    // 1 on a set of rows that share no column, 0 elsewhere: a start whose
    // bound equals that set's size.
    std::vector<double> IndependentRowMultipliers(const Node& node) const
    {
        std::vector<double> multipliers(static_cast<std::size_t>(rowCount_), 0.0);
        for (int32_t r : IndependentRowSet(node))
            multipliers[static_cast<std::size_t>(r)] = 1.0;
        return multipliers;
    }

    // 1 - (sum of the multipliers of the column's remaining rows), per column.
    std::vector<double> ReducedCosts(const Node& node, const std::vector<double>& multipliers) const
    {
        std::vector<double> reduced(static_cast<std::size_t>(columnCount_), 1.0);
        ForEachBit(node.rows, [&](int32_t r) {
            const double m = multipliers[static_cast<std::size_t>(r)];
            if (m == 0.0)
                return;
            for (int32_t c : rowColumns_[static_cast<std::size_t>(r)])
                reduced[static_cast<std::size_t>(c)] -= m;
        });
        return reduced;
    }

    // Improves `multipliers` (rows of the node only) for `iterations` steps;
    // leaves the best found in them and returns their bound.
    // The step halves after `patience` steps without a better bound. Every
    // `heuristicEvery` steps (0: never) a cover built from the current
    // multipliers is offered as a better cover.
    double Subgradient(const Node& node, std::vector<double>& multipliers, int iterations, int patience,
                       int heuristicEvery)
    {
        // The node's rows numbered 0 .. rows - 1, and its columns with their
        // rows in those numbers, so each step is one pass over the entries.
        std::vector<int32_t> rows;
        std::vector<int32_t> local(static_cast<std::size_t>(rowCount_), -1);
        ForEachBit(node.rows, [&](int32_t r) {
            local[static_cast<std::size_t>(r)] = static_cast<int32_t>(rows.size());
            rows.push_back(r);
        });
        std::vector<int32_t> columns, start{0}, entries;
        ForEachBit(node.columns, [&](int32_t c) {
            const Word* bits = ColumnRows(c);
            for (std::size_t w = 0; w < rowWords_; ++w) {
                Word word = bits[w] & node.rows[w];
                while (word) {
                    entries.push_back(local[w * 64 + static_cast<std::size_t>(__builtin_ctzll(word))]);
                    word &= word - 1;
                }
            }
            if (static_cast<int32_t>(entries.size()) > start.back()) {
                columns.push_back(c);
                start.push_back(static_cast<int32_t>(entries.size()));
            }
        });

        std::vector<double> current(rows.size()), best(rows.size());
        for (std::size_t k = 0; k < rows.size(); ++k)
            current[k] = multipliers[static_cast<std::size_t>(rows[k])];
        best = current;
        std::vector<double> reduced(columns.size());
        std::vector<int32_t> coverCount(rows.size());
        double bestBound = -1.0;
        double step = 1.0;
        int sinceBetter = 0;
        for (int k = 0; k < iterations && !limits_.Cancelled(); ++k) {
            double bound = 0.0;
            for (double m : current)
                bound += m;
            std::fill(coverCount.begin(), coverCount.end(), 0);
            for (std::size_t j = 0; j < columns.size(); ++j) {
                double cost = 1.0;
                for (int32_t e = start[j]; e < start[j + 1]; ++e)
                    cost -= current[static_cast<std::size_t>(entries[static_cast<std::size_t>(e)])];
                reduced[j] = cost;
                if (cost >= 0.0)
                    continue;
                bound += cost;
                for (int32_t e = start[j]; e < start[j + 1]; ++e)
                    ++coverCount[static_cast<std::size_t>(entries[static_cast<std::size_t>(e)])];
            }
            if (heuristicEvery > 0 && k % heuristicEvery == 0) {
                std::vector<double> global(static_cast<std::size_t>(columnCount_), 1.0);
                for (std::size_t j = 0; j < columns.size(); ++j)
                    global[static_cast<std::size_t>(columns[j])] = reduced[j];
                Offer(node, LagrangianCover(node, global));
            }
            if (bound > bestBound + 1e-9) {
                bestBound = bound;
                best = current;
                sinceBetter = 0;
            } else if (++sinceBetter >= patience) {
                step /= 2.0;
                sinceBetter = 0;
            }
            const double target = static_cast<double>(best_.size()) - static_cast<double>(node.chosen.size());
            if (Ceil(bestBound) >= target || step < 1e-4)
                break;
            double norm = 0.0;
            for (std::size_t r = 0; r < rows.size(); ++r) {
                double g = 1.0 - coverCount[r];
                if (g < 0.0 && current[r] <= 0.0)
                    g = 0.0;
                norm += g * g;
            }
            if (norm == 0.0)
                break; // the relaxation's solution covers every row once: optimal
            const double length = step * std::max(target - bound, 0.05 * target + 0.5) / norm;
            for (std::size_t r = 0; r < rows.size(); ++r)
                current[r] = std::max(0.0, current[r] + length * (1.0 - coverCount[r]));
        }
        for (std::size_t k = 0; k < rows.size(); ++k)
            multipliers[static_cast<std::size_t>(rows[k])] = best[k];
        return bestBound;
    }

    // Measured on the hardest constructed tables (README): longer patience
    // at the root raises its bound by up to 10 terms on dense functions.
    static constexpr int RootIterations = 1000;
    static constexpr int RootPatience = 40;
    static constexpr int RootHeuristicEvery = 10;
    static constexpr int NodeIterations = 80;
    static constexpr int NodePatience = 5;

    int32_t rowCount_;
    int32_t columnCount_;
    std::size_t rowWords_;
    CoverLimits limits_;
    std::vector<std::vector<int32_t>> rowColumns_;
    std::vector<Word> columnBits_; // rowWords_ words per column
    std::vector<int32_t> best_;
    uint64_t nodes_ = 0;
    bool stopped_ = false;
    std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::now() + limits_.timeLimit;
};

} // namespace

CoverResult MinimumCover(int32_t rowCount, const std::vector<std::vector<int32_t>>& columnRows,
                         const CoverLimits& limits)
{
    return CoverSolver(rowCount, columnRows, limits).Solve();
}
