# The application's pieces other than the entry function (app/Main.cpp, linked only into
# Tollgate.exe) go here.
