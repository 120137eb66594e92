# cmake -DOUTPUT=FILE "-DINPUTS=A;B" -P licence.cmake: a library's licence as one text file, made
# of the files that hold it, in the order given.
file(WRITE ${OUTPUT} "")
foreach(input ${INPUTS})
  file(READ ${input} text)
  file(APPEND ${OUTPUT} "${text}")
endforeach()
