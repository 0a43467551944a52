# Shared by the install benchmarks (sourced, not run).

# median: the middle of the numbers on standard input, one a line (the
# upper one of the two middles for an even count).
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
