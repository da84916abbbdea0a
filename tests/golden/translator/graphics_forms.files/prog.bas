' graphics statements in the forms every_statement leaves out
box (0, 0)-(1, 1), 2
boxf (2, 3)-(4, 5)
circle (5, 5)-(6, 6), 1
circlef (7, 8)-(9, 10)
line (1, 2)-(3, 4), 0
line -(5, 6)
pset (7, 8), 1 + 1
