// The worker's warm-up: its built-in movie shows its frame, text included,
// and the face part it carries is the one a server sends, so a text of that
// part's characters needs nothing fetched.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "web/wasm/code_warm_up.h"
#include "web/wasm/page_fonts.h"

TEST(CodeWarmUp, ShowsItsFrameAndLeavesTheCarriedPartInThePagesFonts) {
    ASSERT_TRUE(web::warmUpCode());
    std::vector<std::string> toFetch;
    EXPECT_TRUE(web::pageFonts().drawable("LiberationSans-Regular.ttf", "a cold start", toFetch));
    EXPECT_TRUE(toFetch.empty());
    toFetch.clear();
    EXPECT_FALSE(web::pageFonts().drawable("LiberationSans-Regular.ttf", "Tolvane", toFetch));
    EXPECT_EQ(toFetch, std::vector<std::string>{"LiberationSans-Regular.1.fontpart"});
}
