# A wrong expectation must fail the run (this script is expected to exit non-zero).
store init
expect sql select 1 => 2
