#include <gtest/gtest.h>

#include "app/input.h"

namespace {

SDL_Event Key(Uint8 type, int sym) {
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.keysym.sym = static_cast<SDLKey>(sym);
    return e;
}

// Pushes the events through SDL's own queue and pumps one frame.
void Frame(std::initializer_list<SDL_Event> events) {
    for (SDL_Event e : events)
        SDL_PushEvent(&e);
    PumpEvents();
}

void PressKeys(std::initializer_list<int> syms) {
    for (int sym : syms) {
        Frame({Key(SDL_KEYDOWN, sym)});
    }
}

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        PumpEvents();
        ClearBindings();
        ResetSecretHistories();
    }
};

TEST_F(InputTest, KeyPressedAndReleasedInOneFrame) {
    SetBinding("Action 1", 32);
    Frame({Key(SDL_KEYDOWN, 32), Key(SDL_KEYUP, 32)});
    EXPECT_TRUE(ActionPressed("Action 1"));
    EXPECT_TRUE(ActionReleased("Action 1"));
    EXPECT_TRUE(ActionPressed("anykey"));
    EXPECT_FALSE(ActionPressed("Restart"));  // unbound never fires
    EXPECT_EQ(FirstKeyDown(), 32);
    ConsumeEvents();
    EXPECT_FALSE(ActionPressed("anykey"));
    EXPECT_EQ(FirstKeyDown(), -1);
}

TEST_F(InputTest, RebindingMovesTheActionToTheEnd) {
    SetBinding("Up", 273);
    SetBinding("Down", 274);
    SetBinding("Left", 276);
    SetBinding("Up", 119);
    EXPECT_EQ(BindingNames(), (std::vector<std::string>{"Down", "Left", "Up"}));
    EXPECT_EQ(BindingKey("Up"), 119);
    EXPECT_EQ(BindingKey("Jump"), -1);
}

TEST_F(InputTest, MouseButtonsAndMotion) {
    SDL_Event down{}, motion{};
    down.type = SDL_MOUSEBUTTONDOWN;
    down.button.type = SDL_MOUSEBUTTONDOWN;
    down.button.button = 1;
    motion.type = SDL_MOUSEMOTION;
    motion.motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 33;
    motion.motion.y = 44;
    Frame({down, motion});
    EXPECT_TRUE(MouseButtonPressed(1));
    EXPECT_FALSE(MouseButtonReleased(1));
    EXPECT_FALSE(MouseButtonPressed(3));
    // The dummy driver reports no mouse focus, so the position stays put.
    EXPECT_EQ(GetMousePosition().x, 0);
}

TEST_F(InputTest, SecretSequenceAFiresOnlyAfterAnEarlierKey) {
    const std::initializer_list<int> sequenceA = {274, 276, 274, 275, 273, 273, 276, 275, 'm', 'k'};
    PressKeys(sequenceA);
    EXPECT_FALSE(SecretAEntered());
    ResetSecretHistories();
    PressKeys({'x'});
    PressKeys(sequenceA);
    EXPECT_TRUE(SecretAEntered());
    ClearSecrets();
    EXPECT_FALSE(SecretAEntered());
}

TEST_F(InputTest, SecretSequenceBAndOneKeyPerFrame) {
    PressKeys({'z'});
    for (char c : std::string("open the arbors"))
        PressKeys({c});
    EXPECT_TRUE(SecretBEntered());
    ResetSecretHistories();
    // Only the first key-down of a frame reaches the history.
    PressKeys({'z'});
    Frame({Key(SDL_KEYDOWN, 'q'), Key(SDL_KEYDOWN, 'o')});
    for (char c : std::string("pen the arbors"))
        PressKeys({c});
    EXPECT_FALSE(SecretBEntered());
}
}  // namespace
