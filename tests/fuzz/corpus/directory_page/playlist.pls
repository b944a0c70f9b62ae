[playlist]
numberofentries=1
File1=http://127.0.0.1:8000/
Title1=x
Length1=-1
Version=2
