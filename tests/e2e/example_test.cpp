// The shipped example program, linked with the channel library, drives
// the dry-run client.
#include <gtest/gtest.h>

#include "harness.h"

TEST(Example, VersionThenRetrieve)
{
	Client client;
	ASSERT_TRUE(client_start(&client, {"--answer", "Version=TwnDry 9.9"}));
	Result res = run("version_retrieve", {}, 0);
	EXPECT_EQ(0u, res.code);
	EXPECT_EQ(console_text("client version: TwnDry 9.9\n"
	                       "retrieve and send requested\n"), res.out);
	EXPECT_EQ("", res.err);
	EXPECT_EQ((std::vector<std::string>{"request Version -> TwnDry 9.9",
	                                    "execute [Retreive(2)]\\x00"}),
	          client_events(&client));
}

TEST(Example, ClientNotRunning)
{
	Result res = run("version_retrieve", {}, 2);
	EXPECT_EQ(2u, res.code);
	EXPECT_EQ("", res.out);
	EXPECT_EQ(console_text("client not reachable (DDE error 0x400A)\n"),
	          res.err);
}

TEST(Example, ClientDoesNotAnswer)
{
	Client client;
	ASSERT_TRUE(client_start(&client, {"--mode", "Version=refuse"}));
	Result res = run("version_retrieve", {}, 3);
	EXPECT_EQ(3u, res.code);
	EXPECT_EQ(console_text("client did not answer\n"), res.err);
	EXPECT_EQ(std::vector<std::string>{"request Version -> refused"},
	          client_events(&client));
}
