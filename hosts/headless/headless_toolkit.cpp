// The in-memory toolkit (being written).
