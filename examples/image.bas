' image.bas: a row of pictures drawn from a 2-bit bitmap file
cls
print "Faces from face.bmp"
' box paints its inside with the current brush (white after text),
' so the frame comes first and the pictures go on top of it
box (5,25)-(205,67)
for i = 0 to 4
image (10 + i * 40, 30), "face.bmp"
next i
locate 0, 6
