# "expect not" fails when the expectation it inverts holds.
store init
registry set Language EN
expect not registry Language EN
