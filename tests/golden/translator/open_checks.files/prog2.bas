open "f.txt" for append as #1
