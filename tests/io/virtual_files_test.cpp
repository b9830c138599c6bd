#include "io/virtual_files.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "io/file_stream.h"

namespace vexel {
namespace {

TEST(VirtualFiles, NameCarriesSizeAndHandleSpacePadded) {
    EXPECT_EQ(memory_file_name(0x1a, 3), "mem://      1a.       3");
    EXPECT_EQ(memory_file_name(0x12345678, 0xabcdef01), "mem://12345678.abcdef01");
    EXPECT_TRUE(is_memory_name("mem://x"));
    EXPECT_FALSE(is_memory_name("MEM://      1a.       3"));
    EXPECT_FALSE(is_memory_name("mem:/"));
    EXPECT_FALSE(is_memory_name(nullptr));
}

TEST(VirtualFiles, RegisteredBlockIsFoundByItsName) {
    const char bytes[] = "hello";
    MemoryFile file(bytes, 5);
    MemoryBlock block;
    ASSERT_TRUE(find_memory_block(file.name().c_str(), &block));
    EXPECT_EQ(block.data, reinterpret_cast<const uint8_t*>(bytes));
    EXPECT_EQ(block.size, 5u);
}

TEST(VirtualFiles, UnknownStaleOrMisSizedNamesFailLikeMissingFiles) {
    const char bytes[] = "hello";
    std::string stale_name;
    {
        MemoryFile file(bytes, 5);
        stale_name = file.name();
        MemoryBlock block;
        // The same handle with another size is refused.
        const uint32_t handle = std::stoul(file.name().substr(15), nullptr, 16);
        EXPECT_FALSE(find_memory_block(memory_file_name(4, handle).c_str(), &block));
        EXPECT_FALSE(find_memory_block(memory_file_name(5, handle + 1000).c_str(), &block));
    }
    MemoryBlock block;
    EXPECT_FALSE(find_memory_block(stale_name.c_str(), &block));
    EXPECT_FALSE(find_memory_block("mem://", &block));
    EXPECT_FALSE(find_memory_block("mem://       5.", &block));
    EXPECT_FALSE(find_memory_block("mem://       5.ffffffffff", &block));
    FileStream stream;
    EXPECT_FALSE(stream.open_read(stale_name.c_str()));
    EXPECT_FALSE(stream.open_read("mem://       5.    beef"));
}

TEST(VirtualFiles, FieldsAreReadInBase16AfterLeadingSpaces) {
    const char bytes[] = "0123456789abcdef0123";
    MemoryFile file(bytes, 20);
    const std::string handle = file.name().substr(15);
    MemoryBlock block;
    EXPECT_TRUE(find_memory_block(("mem://14      ." + handle).c_str(), &block));
    EXPECT_TRUE(find_memory_block(("mem://      14." + handle + "xyz").c_str(), &block));
}

TEST(VirtualFiles, HandlesAreNotReused) {
    const char bytes[] = "a";
    uint32_t first;
    {
        first = register_memory_block(bytes, 1);
        unregister_memory_block(first);
    }
    const uint32_t second = register_memory_block(bytes, 1);
    EXPECT_NE(first, second);
    EXPECT_FALSE(memory_block_registered(first));
    EXPECT_TRUE(memory_block_registered(second));
    unregister_memory_block(second);
}

TEST(VirtualFiles, EmptyBlockOpensAsAnEmptyStream) {
    MemoryFile file(nullptr, 0);
    FileStream stream;
    ASSERT_TRUE(stream.open_read(file.name().c_str()));
    EXPECT_TRUE(stream.is_open());
    EXPECT_EQ(stream.size_of(), 0);
}

TEST(VirtualFiles, StreamOnABorrowedBlockStopsReadingWhenItIsWithdrawn) {
    const char bytes[] = "abcd";
    FileStream stream;
    {
        MemoryFile file(bytes, 4);
        ASSERT_TRUE(stream.open_read(file.name().c_str()));
        char byte;
        ASSERT_TRUE(stream.read(&byte, 1));
    }
    char byte;
    EXPECT_FALSE(stream.read(&byte, 1));
}

TEST(VirtualFiles, StreamOnAnOwnedBlockKeepsItAlive) {
    auto owned = std::make_shared<std::string>("owned bytes");
    const uint32_t handle = register_memory_block(owned->data(), 11, owned);
    const std::string name = memory_file_name(11, handle);
    FileStream stream;
    ASSERT_TRUE(stream.open_read(name.c_str()));
    unregister_memory_block(handle);
    owned.reset();
    char bytes[11];
    ASSERT_TRUE(stream.read(bytes, 11));
    EXPECT_EQ(std::string(bytes, 11), "owned bytes");
    FileStream late;
    EXPECT_FALSE(late.open_read(name.c_str()));
}

}  // namespace
}  // namespace vexel
