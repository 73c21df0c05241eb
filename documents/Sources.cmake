# Document windows. The files listed here are free of the toolkit and join the
# frame's core library, so tests drive them without Qt; every other .cpp here
# is a form and joins the frame's Qt library.
set(TW_DOCUMENTS_CORE_SOURCES
    Ruler.cpp
    LineMarks.cpp
    LinkTarget.cpp
    FindMatch.cpp
    ReplaceHit.cpp
)
