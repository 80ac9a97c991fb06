// Kruskal: every inner wall in random order; a wall comes down when the cells
// on its two sides are not yet connected. Union-find with path compression
// and union by rank answers that in near-constant time.
#include "maze_algos.h"
#include "maze_grid.h"

#include <utility>

// A wall is q * 2 for the right wall of cell q, q * 2 + 1 for its bottom wall.
static int walls[MAZE_MAX * MAZE_MAX * 2];
static int parent[GRID_CELLS];
static uint8_t set_rank[GRID_CELLS];

static int find_root(int q) {
    // Compression keeps most cells within two steps of their root: take
    // those without a loop, whose exit the branch predictor cannot guess.
    int a = parent[q];
    int b = parent[a];
    if (parent[b] == b) {
        parent[q] = b;
        return b;
    }
    int root = b;
    while (parent[root] != root) root = parent[root];
    while (q != root) {
        int next = parent[q];
        parent[q] = root;
        q = next;
    }
    return root;
}

// Joins the sets of a and b; false when they were one set already.
static bool join(int a, int b) {
    a = find_root(a);
    b = find_root(b);
    if (a == b) return false;
    if (set_rank[a] < set_rank[b]) std::swap(a, b);
    parent[b] = a;
    set_rank[a] += set_rank[a] == set_rank[b];
    return true;
}

void generate_kruskal(const Maze &m, Rng rng) {
    const Steps s = grid_steps(m);
    int count = 0;
    for (int r = 0; r < m.rows; r++) {
        for (int c = 0; c < m.cols; c++) {
            int q = grid_index(m, r, c);
            parent[q] = q;
            set_rank[q] = 0;
            if (c + 1 < m.cols) walls[count++] = q * 2;
            if (r + 1 < m.rows) walls[count++] = q * 2 + 1;
        }
    }
    for (int i = count - 1; i > 0; i--) std::swap(walls[i], walls[rng_below(rng, i + 1)]);
    int joins_left = m.rows * m.cols - 1;
    for (int i = 0; i < count && joins_left > 0; i++) {
        int q = walls[i] >> 1;
        int dir = (walls[i] & 1) ? 2 : 1;
        if (join(q, q + s.to[dir])) {
            open_wall(s, q, dir);
            joins_left--;
        }
    }
}
