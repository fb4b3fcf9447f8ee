#include <gtest/gtest.h>

#include "batch/BatchCase.h"

namespace tavrin::batch {
namespace {

TEST(BatchCaseTest, Placeholder)
{
    EXPECT_TRUE(ReadCase("{}").value.has_value());
}

}  // namespace
}  // namespace tavrin::batch
