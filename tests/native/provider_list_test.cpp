#include "config/provider_list.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zel {
namespace {

const LeadByteTable kSingleByte;
const LeadByteTable kShiftJis = LeadByteTable::ShiftJis();

// A list kept in memory, with every write the routines make.
class MemoryStore : public ProviderOrderStore {
public:
    explicit MemoryStore(std::optional<std::string> list) : list_(std::move(list)) {}
    std::optional<std::string> Read() const override
    {
        ++reads;
        return list_;
    }
    void Write(const std::string& list) const override
    {
        writes.push_back(list);
        list_ = storedAfterEveryWrite.value_or(list);
    }
    // What a write leaves stored when it fails, or when another writer
    // changes the list right after it; null: the list written.
    std::optional<std::string> storedAfterEveryWrite;
    mutable int reads = 0;
    mutable std::vector<std::string> writes;

private:
    mutable std::optional<std::string> list_;
};

// What each routine writes last to a stored list; null where it writes nothing.
std::optional<std::string> LastWrite(const MemoryStore& store)
{
    if (store.writes.empty())
        return std::nullopt;
    return store.writes.back();
}

std::optional<std::string> AfterAdd(const std::string& list, const LeadByteTable& cp)
{
    MemoryStore store(list);
    PutProviderFirst(store, cp);
    return LastWrite(store);
}

struct Case {
    std::string stored;
    std::optional<std::string> afterAdd;
    std::optional<std::string> afterRemove;
};

void Check(const Case& c, const LeadByteTable& cp)
{
    EXPECT_EQ(AfterAdd(c.stored, cp), c.afterAdd) << c.stored;
    EXPECT_EQ(ListWithoutProvider(c.stored, cp), c.afterRemove) << c.stored;
    MemoryStore store(c.stored);
    RemoveProviderFrom(store, cp);
    EXPECT_EQ(LastWrite(store), c.afterRemove) << c.stored;
}

TEST(ProviderList, AddAndRemove)
{
    const std::nullopt_t none = std::nullopt;
    const Case cases[] = {
        {"QDVNET,A,B", none, "A,B"},
        {"A,B", "QDVNET,A,B", none},
        {"A,QDVNET,B", "QDVNET,A,B", "A,B"},
        {"", "QDVNET", none},
        {"QDVNET", none, ""},
        {"QDVNETX,A", "QDVNET,QDVNETX,A", "A"},
        {"QDVNETX", "QDVNET,QDVNETX", ""},
        {"QDVNET,QDVNET", none, "QDVNET"},
        // The last of several entries takes the comma before it along.
        {"A,B,QDVNET", "QDVNET,A,B", "A,B"},
        {"A,QDVNET,QDVNET,B", "QDVNET,A,B", "A,QDVNET,B"},
        {"A,QDVNET,", "QDVNET,A,", "A,"},
        {",QDVNET", "QDVNET", ""},
        // Inside another provider's name the text is no entry of the product.
        {"A,XQDVNET,B", "QDVNET,A,XQDVNET,B", none},
        {"XQDVNET", "QDVNET,XQDVNET", none},
        {"XQDVNET,QDVNET", "QDVNET,XQDVNET", "XQDVNET"},
        {"qdvnet,A", "QDVNET,qdvnet,A", none},
        {"QDVNE,A", "QDVNET,QDVNE,A", none},
    };
    for (const Case& c : cases)
        Check(c, kSingleByte);
}

TEST(ProviderList, PlanNamesEachStep)
{
    EXPECT_EQ(PlanAddFirst("QDVNET", kSingleByte), AddStep::AlreadyFirst);
    EXPECT_EQ(PlanAddFirst("QDVNET,B", kSingleByte), AddStep::AlreadyFirst);
    EXPECT_EQ(PlanAddFirst("B,QDVNET", kSingleByte), AddStep::MoveToFront);
    EXPECT_EQ(PlanAddFirst("QDVNETX,QDVNET", kSingleByte), AddStep::Prepend);
    EXPECT_EQ(PlanAddFirst("", kSingleByte), AddStep::Prepend);
}

TEST(ProviderList, OccurrenceOnlyWhereAnEntryBegins)
{
    EXPECT_EQ(FindProviderOccurrence("QDVNET", kSingleByte), 0u);
    EXPECT_EQ(FindProviderOccurrence("AB,QDVNETX", kSingleByte), 3u);
    EXPECT_EQ(FindProviderOccurrence("ABQDVNET,QDVNET", kSingleByte), 9u);
    EXPECT_EQ(FindProviderOccurrence("ABQDVNET", kSingleByte), std::string::npos);
    EXPECT_EQ(FindProviderOccurrence("", kSingleByte), std::string::npos);
}

// Code page 932: 0x83 0x51 is a katakana whose second byte is 'Q', 0x95 0x5C
// one whose second byte is a backslash, 0x82 0xA0 one whose first byte follows
// the name directly.
TEST(ProviderList, DoubleByteEntriesOfCodePage932)
{
    const std::nullopt_t none = std::nullopt;
    const Case cases[] = {
        {"A,\x83QDVNET", "QDVNET,A,\x83QDVNET", none},
        {"\x83QDVNET,QDVNET", "QDVNET,\x83QDVNET", "\x83QDVNET"},
        {"\x95\x5C,QDVNET", "QDVNET,\x95\x5C", "\x95\x5C"},
        {"QDVNET\x82\xA0,A", "QDVNET,QDVNET\x82\xA0,A", "A"},
        {"\x82\xA0,QDVNET,\x95\x5C", "QDVNET,\x82\xA0,\x95\x5C", "\x82\xA0,\x95\x5C"},
    };
    for (const Case& c : cases)
        Check(c, kShiftJis);
}

// A lead byte takes the byte after it as its second, as the multibyte string
// functions step, so a comma there neither ends an entry nor begins one.
TEST(ProviderList, CommaAfterALeadByteIsPartOfItsCharacter)
{
    const std::string list = "A\x83,QDVNET,B";
    EXPECT_EQ(ListWithoutProvider(list, kShiftJis), std::nullopt);
    EXPECT_EQ(ListWithoutProvider(list, kSingleByte), std::optional<std::string>("A\x83,B"));
    EXPECT_EQ(ListWithoutProvider("QDVNETX\x83,A,B", kShiftJis), std::optional<std::string>("B"));
    EXPECT_EQ(ListWithoutProvider("QDVNETX\x83,A,B", kSingleByte), std::optional<std::string>("A,B"));
}

TEST(ProviderList, MoveToTheFrontWritesTheRemovalThenTheNewList)
{
    MemoryStore store(std::string("A,QDVNET,B"));
    PutProviderFirst(store, kSingleByte);
    EXPECT_EQ(store.writes, (std::vector<std::string>{"A,B", "QDVNET,A,B"}));
}

TEST(ProviderList, ListThatCannotBeReadIsNotWritten)
{
    MemoryStore store(std::nullopt);
    PutProviderFirst(store, kSingleByte);
    RemoveProviderFrom(store, kSingleByte);
    EXPECT_TRUE(store.writes.empty());
}

// The move to the front ends when a pass finds the list no shorter than the
// pass before: a removal whose write failed left it as it was, or another
// writer put the entry back behind the others.
TEST(ProviderList, MoveThatMakesNoProgressEnds)
{
    for (const char* list : {"A,QDVNET,B", "A,B,QDVNET"}) {
        MemoryStore store{std::string(list)};
        store.storedAfterEveryWrite = list;
        PutProviderFirst(store, kSingleByte);
        EXPECT_EQ(store.writes, (std::vector<std::string>{"A,B"})) << list;
        EXPECT_EQ(store.reads, 3) << list; // the pass, its removal, the pass that sees no progress
    }
}

// Lists longer than 260 bytes are edited whole.
TEST(ProviderList, LongListsAreEditedWhole)
{
    for (size_t length : {300u, 5000u}) {
        std::string others;
        for (int i = 0; others.size() + 6 < length; ++i)
            others += (others.empty() ? "P" : ",P") + std::to_string(10000 + i);
        const std::string middle = others.substr(0, others.size() / 2);
        const size_t cut = middle.rfind(',');
        const std::string stored = others.substr(0, cut) + ",QDVNET" + others.substr(cut);
        Check({stored, "QDVNET," + others, others}, kSingleByte);
        Check({others + ",QDVNET", "QDVNET," + others, others}, kSingleByte);
        Check({others, "QDVNET," + others, std::nullopt}, kSingleByte);
    }
}

} // namespace
} // namespace zel
