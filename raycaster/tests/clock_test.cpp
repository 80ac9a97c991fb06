#include "clock.h"
#include "fresh_world.h"

namespace {

using Clock = FreshWorld;

TEST(FrameClock, DtIsCappedAndWraps) {
    EXPECT_DOUBLE_EQ(frame_dt(1016, 1000), 0.016);
    EXPECT_EQ(frame_dt(3000, 1000), 0.05);
    EXPECT_EQ(frame_dt(1000, 1000), 0.0);
    EXPECT_DOUBLE_EQ(frame_dt(5, 0xFFFFFFF0u), 0.021); // tick counter wrapped
}

TEST(FrameClock, StampsFromThisFrameCountAsNow) {
    EXPECT_EQ(elapsed_ms(1000, 1001), 0u);
    EXPECT_EQ(elapsed_ms(1000, 400), 600u);
}

TEST_F(Clock, IntroEaseAndCameraRamp) {
    EXPECT_EQ(intro_ease(0.0), 0.0);
    EXPECT_EQ(intro_ease(0.25), 0.125);
    EXPECT_EQ(intro_ease(0.5), 0.5);
    EXPECT_EQ(intro_ease(0.75), 0.875);

    IntroFrame f = intro_step(1000, 1000);
    EXPECT_EQ(f.done, 0);
    EXPECT_EQ(f.music_volume, 0);
    EXPECT_DOUBLE_EQ(cam_pitch, 0.8);
    EXPECT_DOUBLE_EQ(cam_y, 0.1);

    f = intro_step(1000 + 1750, 1000); // half way
    EXPECT_EQ(f.e, 0.5);
    EXPECT_EQ(f.music_volume, 64);
    EXPECT_DOUBLE_EQ(cam_pitch, 0.4);
    EXPECT_DOUBLE_EQ(cam_y, 0.3);

    f = intro_step(1000 + 3499, 1000);
    EXPECT_EQ(f.done, 0);
    EXPECT_LT(f.music_volume, 128);

    f = intro_step(1000 + 3500, 1000); // the last intro frame
    EXPECT_EQ(f.done, 1);
    EXPECT_EQ(f.music_volume, 128);
    EXPECT_EQ(cam_pitch, 0.0);
    EXPECT_EQ(cam_y, 0.5);

    f = intro_step(999, 1000); // stamp taken after the frame's tick
    EXPECT_EQ(f.e, 0.0);
    EXPECT_EQ(f.done, 0);
}

TEST_F(Clock, FlashlightSpringRisesOvershootsAndSettles) {
    flashlight_toggle();
    EXPECT_EQ(flashlight_on, 1);
    EXPECT_EQ(flash_vel, 8.0);
    update_flashlight(0.01);
    // Velocity first, then position with the new velocity.
    EXPECT_DOUBLE_EQ(flash_vel, 8.0 + (-200.0 * (0.0 - 1.0) - 20.0 * 8.0) * 0.01);
    EXPECT_DOUBLE_EQ(flash_spring, flash_vel * 0.01);
    double peak = 0;
    for (int i = 0; i < 300; i++) {
        update_flashlight(0.01);
        peak = std::max(peak, flash_spring);
    }
    EXPECT_GT(peak, 1.0);
    EXPECT_LT(peak, 1.2);
    EXPECT_NEAR(flash_spring, 1.0, 1e-3);

    flashlight_toggle(); // off: flares up first, then falls to 0 and stays there
    update_flashlight(0.01);
    EXPECT_GT(flash_spring, 1.0);
    for (int i = 0; i < 300; i++) {
        update_flashlight(0.01);
        ASSERT_GE(flash_spring, 0.0);
    }
    EXPECT_LT(flash_spring, 1e-3);
}

} // namespace
