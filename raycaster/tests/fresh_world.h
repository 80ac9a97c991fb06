// Every test starts from an empty world, the player at the start point and
// the flashlight off.
#pragma once

#include "doors.h"
#include "flashlight.h"
#include "player.h"
#include "world.h"

#include <gtest/gtest.h>

class FreshWorld : public ::testing::Test {
  protected:
    void SetUp() override {
        world_reset();
        player_reset();
        flashlight_on = 0;
        flash_spring = flash_vel = 0.0;
    }

    static const Chunk &chunk(int cx, int cy) {
        world_cell(cx * CHUNK_SIZE, cy * CHUNK_SIZE);
        int k = chunk_slot(cx, cy);
        EXPECT_GE(k, 0);
        return chunks[k];
    }
    static int local(const Chunk &c, int lx, int ly) { return c.cells[ly * CHUNK_SIZE + lx]; }
};
