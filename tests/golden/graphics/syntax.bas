pset 1, 2
