' arith.bas: read two numbers and calculate
input "First number", a
input "Second number", b
print "Sum: "; a + b
print "Difference: "; a - b
print "Product: "; a * b
if b = 0 then print "No quotient: the second number is 0" else print "Quotient: "; a / b
print "Remainder: "; a mod b
print "Power: "; a ^ b
