[playlist]
File1=http://127.0.0.1/a
Title1=A
NumberOfEntries=1
